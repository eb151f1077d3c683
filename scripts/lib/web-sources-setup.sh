# Fetches the Debian sources the studio's WebAssembly build compiles with
# emscripten (zlib, libpng, FreeType, Brotli, woff2) into build/cache/web-src, unpacked and
# patched by apt-get source (dpkg-source checks each file against the signed
# .dsc). A deb-src entry is added beside the machine's own Debian entry, same
# URIs, suites and keyring; not for the security suite, whose sources answer
# 404. libpng and zlib are pinned to the main suite's versions, since one
# package that cannot be had makes apt-get source unpack none.
# Sourced by scripts/setup; defines web_sources_setup ROOT SUDO.

web_sources=(freetype=2.12.1+dfsg-5+deb12u4 libpng1.6=1.6.39-2+deb12u5 zlib=1:1.2.13.dfsg-1
  brotli=1.0.9-2 woff2=1.0.2-2)
web_source_dirs=(freetype-2.12.1+dfsg libpng1.6-1.6.39 zlib-1.2.13.dfsg brotli-1.0.9 woff2-1.0.2)
web_sources_list=/etc/apt/sources.list.d/runeplate-src.sources

# The deb-src stanzas of the machine's deb822 Debian sources, security left out.
web_sources_stanzas() {
  awk 'BEGIN { RS = ""; ORS = "\n\n" }
       /Types:[ \t]*deb([ \t\n]|$)/ && !/debian-security/ { sub(/Types:[ \t]*deb/, "Types: deb-src"); print }' \
    /etc/apt/sources.list.d/debian.sources
}

web_sources_setup() {
  local root=$1 sudo=$2
  local dir="$root/build/cache/web-src" missing=0 d
  for d in "${web_source_dirs[@]}"; do
    [ -d "$dir/$d" ] || missing=1
  done
  [ "$missing" -eq 0 ] && return 0
  echo "setup: fetching the Debian sources of zlib, libpng, FreeType, Brotli and woff2 for the web build"
  local log
  log=$(mktemp)
  if [ ! -f "$web_sources_list" ]; then
    if [ ! -f /etc/apt/sources.list.d/debian.sources ]; then
      echo "setup: /etc/apt/sources.list.d/debian.sources is missing; cannot add the deb-src entry" >&2
      return 1
    fi
    web_sources_stanzas | $sudo tee "$web_sources_list" >/dev/null
    if ! $sudo apt-get update -qq >"$log" 2>&1; then
      echo "setup: apt-get update (with deb-src) failed:" >&2
      tail -n 20 "$log" >&2
      return 1
    fi
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  if ! (cd "$dir" && apt-get source -qq --only-source "${web_sources[@]}") >"$log" 2>&1; then
    echo "setup: apt-get source ${web_sources[*]} failed:" >&2
    tail -n 20 "$log" >&2
    rm -rf "$dir"
    return 1
  fi
  rm -f "$log"
}
