#!/usr/bin/env bash
# Boots the Wine prefix that every scenario copies, once per build folder.
source "$(dirname "$0")/lib.sh"

template=$(e2e_template_prefix) || exit 1
e2e_log "template prefix ready: $template"
