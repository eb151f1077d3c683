// Runeplate Studio: a thin view over the engine compiled to WebAssembly.
// Every reader, writer, fit and layout rule is the module's (the same C++
// as the native tools); this file only moves bytes and pixels between the
// module, the canvases and the files the user opens and saves.
import createRuneplate from './runeplate.js';

const $ = (id) => document.getElementById(id);
const SHIPPED = [
  { name: 'round', label: 'Runeplate Round, from Neo둥근모 (the default)' },
  { name: 'unifont', label: 'Unifont: the jamo fitted to GNU Unifont' },
  { name: 'dotum', label: 'Dotum: the jamo fitted to Baekmuk Dotum 16' },
];
const STORE_KEY = 'runeplate-studio-work';
const GRID_COLUMNS = 64;
const EDIT_SCALE = 20;

let rp = null;
// The current font as the page names it; the module holds its pixels.
const font = { label: '', fileName: 'a1bit.bmp', notice: '', edited: false };
const history = { undo: [], redo: [] };
const view = { code: 0xAC00, kind: 'jamo', index: 0, cx: 0, cy: 0, stroke: null };

// ---- messages: one status line, one error sentence ----

function say(text) { $('status').textContent = text; }
// The module's errors read as fontgen's ("name: what is wrong"); on the
// page they end as sentences.
function complain(sentence) {
  $('error').textContent = sentence && !/[.!?]$/.test(sentence) ? sentence + '.' : sentence;
}

function hex(code) { return 'U+' + code.toString(16).toUpperCase().padStart(4, '0'); }
function colour(input) { return parseInt(input.value.slice(1), 16); }

// ---- pictures to canvases ----

// Chromium draws nothing on a canvas with a side over 32,767 pixels (or
// past about 268 million in all), silently.
const CANVAS_SIDE = 32767;
const CANVAS_AREA = 1 << 28;

function fitsCanvas(w, h) { return w <= CANVAS_SIDE && h <= CANVAS_SIDE && w * h <= CANVAS_AREA; }

// A module picture is a view into its memory, valid until the next draw of
// the same kind: it is copied into the canvas at once.
function paintPicture(canvas, picture, zoom = 1) {
  const w = picture.width, h = picture.height;
  canvas.width = Math.max(1, w * zoom);
  canvas.height = Math.max(1, h * zoom);
  const ctx = canvas.getContext('2d');
  ctx.clearRect(0, 0, canvas.width, canvas.height);
  if (!w || !h) return;
  const image = new ImageData(
    new Uint8ClampedArray(picture.pixels.buffer, picture.pixels.byteOffset, picture.pixels.length), w, h);
  if (zoom === 1) { ctx.putImageData(image, 0, 0); return; }
  const plain = document.createElement('canvas');
  plain.width = w; plain.height = h;
  plain.getContext('2d').putImageData(image, 0, 0);
  ctx.imageSmoothingEnabled = false;
  ctx.drawImage(plain, 0, 0, w * zoom, h * zoom);
}

// A cell picture: one byte a pixel, 1 ink.
function paintBits(canvas, bits, w, h, scale, ink = '#000', paper = '#fff') {
  canvas.width = w * scale; canvas.height = h * scale;
  const ctx = canvas.getContext('2d');
  ctx.fillStyle = paper; ctx.fillRect(0, 0, canvas.width, canvas.height);
  ctx.fillStyle = ink;
  for (let y = 0; y < h; y++)
    for (let x = 0; x < w; x++)
      if (bits[y * w + x]) ctx.fillRect(x * scale, y * scale, scale, scale);
}

function inkAndPaper() {
  return { ink: colour($('ink')), paper: colour($('paper')) };
}

// ---- Text ----

function drawText() {
  const wrap = Math.max(0, Math.floor(Number($('wrap').value) || 0));
  const zoom = Math.min(8, Math.max(1, Number($('zoom').value) || 1));
  $('zoom-out').textContent = zoom + 'x';
  const picture = rp.drawText($('text').value, { wrap, ...inkAndPaper() });
  $('text-size').textContent = `${picture.width} x ${picture.height} pixels at 1x`;
  if (!fitsCanvas(picture.width * zoom, picture.height * zoom)) {
    complain(`The text is ${picture.width * zoom} x ${picture.height * zoom} pixels at ${zoom}x, too large to show: set a wrap width or a smaller zoom.`);
    return;
  }
  if ($('error').textContent.startsWith('The text is ')) complain('');
  paintPicture($('text-canvas'), picture, zoom);
}

function useFrameSample() {
  $('text').value = rp.frameLines().map((line) => line.text).join('\n');
  drawText();
  $('frame-details').open = true;
  drawFrame();
}

function drawFrame() {
  if ($('frame-details').open) paintPicture($('frame-canvas'), rp.drawFrame(0));
}

// ---- Every syllable ----

function repertoire() { return $('repertoire').value; }

function drawGrid() {
  paintPicture($('grid'), rp.drawGrid({ repertoire: repertoire(), columns: GRID_COLUMNS, ...inkAndPaper() }));
  if (rp.gridCellOf(view.code).x < 0) view.code = rp.gridCodeAt(0, 0);
  markGrid();
}

// Only the cells that draw the edited glyph are redrawn, by the module;
// the canvas takes the whole picture (a copy of pixels is cheaper than
// finding the changed rectangles again in JS).
function updateGrid(glyph) {
  paintPicture($('grid'), rp.updateGrid(glyph));
}

function markGrid() {
  const cell = rp.gridCellOf(view.code);
  const mark = $('grid-mark');
  mark.hidden = cell.x < 0;
  mark.style.left = cell.x + 'px'; mark.style.top = cell.y + 'px';
  mark.style.width = '16px'; mark.style.height = '16px';
}

function showSyllable(code, scroll = true) {
  const info = rp.explainSyllable(code);
  if (!info.ok) { complain(info.error); return; }
  view.code = code;
  markGrid();
  if (scroll) scrollGridTo(rp.gridCellOf(code));
  const { initial, medial, final } = info.letters;
  $('syllable-title').textContent =
    `${String.fromCodePoint(code)} ${hex(code)}: ${initial} + ${medial}${final ? ' + ' + final : ''}`;
  paintBits($('syllable-cell'), info.cell, 16, 16, 8);
  const list = $('syllable-parts');
  list.replaceChildren();
  for (const part of info.parts) {
    const item = document.createElement('li');
    const picture = document.createElement('canvas');
    const cell = rp.jamoCell(part.glyph);
    paintBits(picture, rp.cellPicture('jamo', part.glyph), cell.width, cell.height, 3);
    picture.setAttribute('aria-hidden', 'true');
    const words = document.createElement('span');
    words.textContent = `${part.letter}: ${part.role} set ${part.set}, glyph ${part.glyph} (${part.name})`;
    const rule = document.createElement('p');
    rule.textContent = part.rule.charAt(0).toUpperCase() + part.rule.slice(1) + (/[.]$/.test(part.rule) ? '' : '.');
    const edit = document.createElement('button');
    edit.type = 'button';
    edit.textContent = `Edit ${part.name}`;
    edit.addEventListener('click', () => { editCell('jamo', part.glyph); selectTab('tab-edit'); $('editor').focus(); });
    item.append(picture, words, rule, edit);
    list.append(item);
  }
}

// Scrolls only the grid's own box (scrollIntoView would move the page too).
function scrollGridTo(cell) {
  const box = $('grid-scroll');
  if (cell.y < box.scrollTop || cell.y + 16 > box.scrollTop + box.clientHeight)
    box.scrollTop = cell.y - Math.floor(box.clientHeight / 2);
  if (cell.x < box.scrollLeft || cell.x + 16 > box.scrollLeft + box.clientWidth)
    box.scrollLeft = cell.x - Math.floor(box.clientWidth / 2);
}

function moveInGrid(event) {
  const cell = rp.gridCellOf(view.code);
  if (cell.x < 0) return;
  const rows = Math.floor(($('grid-scroll').clientHeight || 320) / 16);
  const steps = {
    ArrowLeft: [-16, 0], ArrowRight: [16, 0], ArrowUp: [0, -16], ArrowDown: [0, 16],
    PageUp: [0, -16 * rows], PageDown: [0, 16 * rows],
  };
  let code = 0;
  if (event.key === 'Home') code = rp.gridCodeAt(0, 0);
  else if (event.key === 'End') code = lastGridCode();
  else if (steps[event.key]) {
    const [dx, dy] = steps[event.key];
    const x = Math.min(Math.max(cell.x + dx, 0), $('grid').width - 1);
    const y = Math.min(Math.max(cell.y + dy, 0), $('grid').height - 1);
    code = rp.gridCodeAt(x, y) || lastGridCode();
  } else return;
  event.preventDefault();
  if (code) showSyllable(code);
}

function lastGridCode() {
  const grid = $('grid');
  for (let y = grid.height - 8; y > 0; y -= 16)
    for (let x = grid.width - 8; x > 0; x -= 16) {
      const code = rp.gridCodeAt(x, y);
      if (code) return code;
    }
  return 0;
}

function gotoTyped() {
  const typed = $('goto').value.normalize('NFC').trim();
  const code = typed.codePointAt(0) || 0;
  if (rp.gridCellOf(code).x < 0) {
    complain(`“${typed}” is not a syllable of this grid: type one precomposed Hangul syllable.`);
    return;
  }
  complain('');
  showSyllable(code);
}

// ---- Edit ----

function cellOf(kind, index) {
  if (kind === 'jamo') return rp.jamoCell(index);
  if (kind === 'ascii') return rp.asciiCell(index);
  return rp.letterCell(index);
}

function fillIndexChoices() {
  const select = $('edit-index');
  select.replaceChildren();
  const add = (value, text) => select.append(new Option(text, value));
  if (view.kind === 'jamo') {
    for (let g = 0; g < 344; g++) {
      const info = rp.glyphInfo(g);
      add(g, `${g}: ${info.letter} ${info.role} set ${info.set} (${info.name})`);
    }
  } else if (view.kind === 'ascii') {
    for (let c = 32; c < 127; c++) add(c, `${hex(c)} ${c === 32 ? 'space' : String.fromCharCode(c)}`);
  } else {
    for (let k = 0; k < 51; k++) add(k, `${hex(0x3131 + k)} ${String.fromCodePoint(0x3131 + k)}`);
  }
}

function editCell(kind, index) {
  if (kind !== view.kind) { view.kind = kind; $('edit-kind').value = kind; fillIndexChoices(); }
  view.index = index;
  $('edit-index').value = String(index);
  const cell = cellOf(kind, index);
  view.cx = Math.min(view.cx, cell.width - 1);
  view.cy = Math.min(view.cy, cell.height - 1);
  drawEditor();
  describeUses();
}

function drawEditor() {
  const cell = cellOf(view.kind, view.index);
  const canvas = $('editor');
  paintBits(canvas, rp.cellPicture(view.kind, view.index), cell.width, cell.height, EDIT_SCALE);
  const ctx = canvas.getContext('2d');
  ctx.strokeStyle = '#ddd'; ctx.lineWidth = 1;
  for (let x = 1; x < cell.width; x++) line(ctx, x * EDIT_SCALE + 0.5, 0, x * EDIT_SCALE + 0.5, canvas.height);
  for (let y = 1; y < cell.height; y++) line(ctx, 0, y * EDIT_SCALE + 0.5, canvas.width, y * EDIT_SCALE + 0.5);
  ctx.strokeStyle = '#e0218a'; ctx.lineWidth = 2;
  ctx.strokeRect(view.cx * EDIT_SCALE + 1, view.cy * EDIT_SCALE + 1, EDIT_SCALE - 2, EDIT_SCALE - 2);
  const on = rp.getPixel(cell.x + view.cx, cell.y + view.cy) ? 'ink' : 'paper';
  $('edit-cursor').textContent = `Pixel ${view.cx}, ${view.cy}: ${on}.`;
}

function line(ctx, x0, y0, x1, y1) { ctx.beginPath(); ctx.moveTo(x0, y0); ctx.lineTo(x1, y1); ctx.stroke(); }

function describeUses() {
  const preview = $('edit-preview');
  if (view.kind !== 'jamo') {
    $('edit-uses').textContent = view.kind === 'ascii'
      ? 'ASCII cells draw the printable ASCII in text.'
      : (rp.hasLetterCells() ? 'Letter cells draw lone letters in composed text.'
        : 'This atlas has no letter cells of its own: lone letters are drawn from the glyph sets.');
    paintPicture(preview, rp.drawText(view.kind === 'ascii' ? String.fromCharCode(view.index)
      : String.fromCodePoint(0x3131 + view.index)), 4);
    return;
  }
  const uses = rp.syllablesUsing(view.index);
  $('edit-uses').textContent = `${uses.length} syllables draw this glyph; the first of them:`;
  const sample = uses.slice(0, 48).map((c) => String.fromCodePoint(c)).join('');
  paintPicture(preview, rp.drawText(sample, { wrap: 16 * 16 }), 2);
}

function editorPixel(event) {
  const cell = cellOf(view.kind, view.index);
  const rect = $('editor').getBoundingClientRect();
  const x = Math.floor((event.clientX - rect.left) / rect.width * cell.width);
  const y = Math.floor((event.clientY - rect.top) / rect.height * cell.height);
  if (x < 0 || y < 0 || x >= cell.width || y >= cell.height) return null;
  return { x, y };
}

// One press and drag is one step of undo: it paints the colour the first
// pixel did not have.
function startStroke(event) {
  const p = editorPixel(event);
  if (!p) return;
  $('editor').setPointerCapture(event.pointerId);
  const cell = cellOf(view.kind, view.index);
  view.stroke = { ink: rp.getPixel(cell.x + p.x, cell.y + p.y) ? 0 : 1, changes: [] };
  view.cx = p.x; view.cy = p.y;
  strokeTo(p);
}

function strokeTo(p) {
  if (!view.stroke || !p) return;
  const cell = cellOf(view.kind, view.index);
  const x = cell.x + p.x, y = cell.y + p.y;
  const from = rp.getPixel(x, y);
  if (from === view.stroke.ink) return;
  const change = { x, y, from, to: view.stroke.ink };
  view.stroke.changes.push(change);
  applyChanges([change], 'to');
}

function endStroke() {
  if (!view.stroke) return;
  const { changes } = view.stroke;
  view.stroke = null;
  if (changes.length) record({ type: 'pixels', changes });
}

function toggleAtCursor() {
  const cell = cellOf(view.kind, view.index);
  const x = cell.x + view.cx, y = cell.y + view.cy;
  const from = rp.getPixel(x, y);
  const change = { x, y, from, to: from ? 0 : 1 };
  applyChanges([change], 'to');
  record({ type: 'pixels', changes: [change] });
}

function editorKeys(event) {
  const cell = cellOf(view.kind, view.index);
  const moves = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
  if (moves[event.key]) {
    const [dx, dy] = moves[event.key];
    view.cx = Math.min(Math.max(view.cx + dx, 0), cell.width - 1);
    view.cy = Math.min(Math.max(view.cy + dy, 0), cell.height - 1);
    drawEditor();
  } else if (event.key === ' ' || event.key === 'Enter') {
    toggleAtCursor();
  } else return;
  event.preventDefault();
}

// Sets each change's 'from' or 'to' value, then redraws what shows those
// pixels: the syllables using an edited jamo glyph (the module knows which),
// the text, the editor.
function applyChanges(changes, side) {
  const glyphs = new Set();
  for (const change of changes) {
    rp.setPixel(change.x, change.y, change[side]);
    const owner = rp.cellAt(change.x, change.y);
    if (owner.kind === 'jamo') glyphs.add(owner.index);
  }
  for (const glyph of glyphs) updateGrid(glyph);
  afterFontChange(glyphs.size > 0);
}

function afterFontChange(syllablesChanged) {
  font.edited = true;
  drawText();
  drawFrame();
  drawEditor();
  describeUses();
  if (syllablesChanged) showSyllable(view.code, false);
  showFontName();
}

function record(step) {
  history.undo.push(step);
  history.redo.length = 0;
  keepWork();
  showHistory();
}

function undoOrRedo(fromStack, toStack, side) {
  const step = fromStack.pop();
  if (!step) return;
  if (step.type === 'pixels') applyChanges(step.changes.slice().reverse(), side);
  else installFont(step[side]);
  toStack.push(step);
  keepWork();
  showHistory();
  say(side === 'from' ? 'Undone.' : 'Redone.');
}

function undo() { undoOrRedo(history.undo, history.redo, 'from'); }
function redo() { undoOrRedo(history.redo, history.undo, 'to'); }

function showHistory() {
  $('undo').disabled = history.undo.length === 0;
  $('redo').disabled = history.redo.length === 0;
}

// ---- the current font ----

function showFontName() {
  $('font-name').textContent = font.label;
  $('font-state').textContent = font.edited ? '(edited)' : '';
}

function snapshot() {
  return { atlas: rp.getAtlas(), label: font.label, fileName: font.fileName, notice: font.notice, edited: font.edited };
}

function installFont(state) {
  rp.setAtlas(state.atlas, state.fileName, state.notice);
  Object.assign(font, { label: state.label, fileName: state.fileName, notice: state.notice, edited: state.edited });
  for (const radio of document.querySelectorAll('input[name=shipped]')) radio.checked = radio.value === font.label;
  drawText();
  drawFrame();
  drawGrid();
  showSyllable(view.code, false);
  drawEditor();
  describeUses();
  showFontName();
}

// Switching fonts is a step of undo too, so opening a file never loses
// the edits made to the font before it.
function adoptFont(state) {
  const before = font.label ? snapshot() : null;
  installFont(state);
  if (before) record({ type: 'font', from: before, to: snapshot() });
  else keepWork();
}

function showReport(result) {
  $('report').textContent = result.report || '';
  const warnings = $('warnings');
  warnings.replaceChildren(...(result.warnings || []).map((w) => {
    const li = document.createElement('li'); li.textContent = 'warning: ' + w; return li;
  }));
  const worst = $('worst');
  worst.replaceChildren();
  $('worst-title').hidden = !(result.worst && result.worst.length);
  for (const w of result.worst || []) {
    const figure = document.createElement('figure');
    const pair = document.createElement('div');
    for (const bits of [w.source, w.composed]) {
      const canvas = document.createElement('canvas');
      paintBits(canvas, bits, 16, 16, 4);
      pair.append(canvas);
    }
    const caption = document.createElement('figcaption');
    caption.textContent = `${String.fromCodePoint(w.code)} ${hex(w.code)}: ${w.pixels} pixels differ`;
    figure.append(pair, caption);
    worst.append(figure);
  }
}

async function openShipped(name) {
  complain('');
  say(`Loading ${name}…`);
  try {
    const [bmp, notice] = await Promise.all([
      fetch(`fonts/${name}/a1bit.bmp`).then((r) => { if (!r.ok) throw new Error(r.statusText); return r.arrayBuffer(); }),
      fetch(`fonts/${name}/NOTICE`).then((r) => (r.ok ? r.text() : '')),
    ]);
    const result = rp.loadFont(new Uint8Array(bmp), 'a1bit.bmp');
    if (!result.ok) { complain(`The shipped atlas ${name} could not be read: ${result.error}`); return; }
    adoptFont({ atlas: result.atlas, label: name, fileName: 'a1bit.bmp', notice, edited: false });
    showReport(result);
    say(`Loaded the shipped atlas ${name}.`);
  } catch (error) {
    complain(`The shipped atlas ${name} could not be fetched (${error.message}); the current font is kept.`);
  }
}

async function openFontFile(file) {
  complain('');
  say(`Reading ${file.name}…`);
  // Let the status line paint before a long fit.
  await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
  const options = {};
  const size = Math.floor(Number($('font-size').value) || 0);
  if (size) options.size = size;
  const names = $('jamo-names').value.trim();
  if (names) options.jamoNames = names;
  const ascii = $('ascii-file').files[0];
  try {
    if (ascii) { options.ascii = new Uint8Array(await ascii.arrayBuffer()); options.asciiName = ascii.name; }
    const result = rp.loadFont(new Uint8Array(await file.arrayBuffer()), file.name, options);
    if (!result.ok) {
      complain(result.error);
      say(`${file.name} was not loaded; still using ${font.label}.`);
      return false;
    }
    adoptFont({ atlas: result.atlas, label: file.name, fileName: file.name, notice: '', edited: false });
    showReport(result);
    say(`Loaded ${file.name}${result.warnings.length ? `, with ${result.warnings.length} warnings` : ''}.`);
    return true;
  } catch (error) {
    // Reading the file itself failed (it vanished, or is too large for this browser).
    complain(`${file.name} could not be read (${error.message}); the current font is kept.`);
    return false;
  }
}

// ---- kept across reloads ----

function toBase64(bytes) {
  let s = '';
  for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(s);
}

function fromBase64(text) {
  return Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
}

function keepWork() {
  try {
    localStorage.setItem(STORE_KEY, JSON.stringify({
      atlas: toBase64(rp.getAtlas()), label: font.label, fileName: font.fileName,
      notice: font.notice, edited: font.edited,
    }));
  } catch (error) {
    complain(`Your work could not be kept in this browser (${error.message}); save it as a PNG.`);
  }
}

function restoreWork() {
  let kept = null;
  try { kept = JSON.parse(localStorage.getItem(STORE_KEY) || 'null'); } catch { kept = null; }
  if (!kept || typeof kept.atlas !== 'string') return false;
  const atlas = fromBase64(kept.atlas);
  if (atlas.length !== 16384) return false;
  installFont({ ...kept, atlas });
  return true;
}

// ---- Download ----

function writeOptions() {
  const options = { stem: $('dl-stem').value.trim() || 'a1bit' };
  const cName = $('dl-cname').value.trim();
  if (cName) options.cName = cName;
  const family = $('dl-family').value.trim();
  if (family) options.family = family;
  const ascent = Math.floor(Number($('dl-ascent').value) || 0);
  if (ascent) options.ascent = ascent;
  const chars = $('dl-chars').value;
  if (chars === 'text') options.charsText = $('text').value;
  else options.chars = chars;
  return options;
}

// The OpenType writers (with Brotli and woff2) are most of the C++, so they
// are a module of their own, fetched the first time such a font is asked for.
const fontKinds = new Set(['ttf', 'otf', 'woff2', 'otb']);
let fontsModule = null;

async function writerFor(kind) {
  if (!fontKinds.has(kind)) return rp;
  if (!fontsModule) {
    fontsModule = import('./runeplate-fonts.js').then(({ default: create }) => create());
    fontsModule.catch(() => { fontsModule = null; });
  }
  const fonts = await fontsModule;
  // The font as it is now, edits included, under its own name and notice.
  const source = rp.atlasSource();
  const handed = fonts.setAtlas(rp.getAtlas(), source.fileName, source.notice);
  if (!handed.ok) throw new Error(handed.error);
  return fonts;
}

async function download(kind) {
  let result;
  try {
    result = (await writerFor(kind)).write(kind, writeOptions());
  } catch (error) {
    result = { ok: false, error: `the OpenType writers did not load: ${error.message}` };
  }
  if (!result.ok) { complain(result.error); return; }
  complain('');
  saveBytes(result.bytes, result.fileName);
  say(`Wrote ${result.fileName}, ${result.bytes.length.toLocaleString('en')} bytes.`);
}

function saveBytes(bytes, fileName) {
  const url = URL.createObjectURL(new Blob([bytes.slice()]));
  const link = document.createElement('a');
  link.href = url; link.download = fileName;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

function fillFormats() {
  const list = $('formats');
  list.replaceChildren();
  for (const format of rp.formats()) {
    const item = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.dataset.kind = format.kind;
    button.textContent = `${format.label} (.${format.extension})`;
    button.disabled = !format.available;
    button.addEventListener('click', () => download(format.kind));
    item.append(button);
    if (!format.available) {
      const off = document.createElement('span');
      off.className = 'off'; off.textContent = ' not in this build';
      item.append(off);
    }
    list.append(item);
  }
}

// ---- tabs ----

function selectTab(id) {
  for (const tab of document.querySelectorAll('[role=tab]')) {
    const on = tab.id === id;
    tab.setAttribute('aria-selected', String(on));
    tab.tabIndex = on ? 0 : -1;
    $(tab.getAttribute('aria-controls')).hidden = !on;
  }
}

function tabKeys(event) {
  const tabs = [...document.querySelectorAll('[role=tab]')];
  const at = tabs.indexOf(document.activeElement);
  if (at < 0) return;
  const to = { ArrowRight: at + 1, ArrowLeft: at - 1, Home: 0, End: tabs.length - 1 }[event.key];
  if (to === undefined) return;
  event.preventDefault();
  const tab = tabs[(to + tabs.length) % tabs.length];
  selectTab(tab.id);
  tab.focus();
}

// ---- wiring ----

function fillShipped() {
  const box = $('shipped');
  for (const { name, label } of SHIPPED) {
    const input = document.createElement('input');
    input.type = 'radio'; input.name = 'shipped'; input.value = name; input.id = 'shipped-' + name;
    // 'click', not 'change': choosing the font already shown (after edits) loads it afresh.
    input.addEventListener('click', () => openShipped(name));
    const text = document.createElement('label');
    text.htmlFor = input.id; text.textContent = ' ' + label;
    const row = document.createElement('div');
    row.append(input, text);
    box.append(row);
  }
}

function wire() {
  for (const tab of document.querySelectorAll('[role=tab]')) tab.addEventListener('click', () => selectTab(tab.id));
  $('tabs').addEventListener('keydown', tabKeys);
  for (const id of ['text', 'wrap', 'zoom', 'ink', 'paper']) $(id).addEventListener('input', drawText);
  for (const id of ['ink', 'paper']) $(id).addEventListener('change', drawGrid);
  $('sample-frame').addEventListener('click', useFrameSample);
  $('frame-details').addEventListener('toggle', drawFrame);

  $('font-file').addEventListener('change', () => {
    const file = $('font-file').files[0];
    if (file) openFontFile(file).finally(() => { $('font-file').value = ''; });
  });
  document.addEventListener('dragover', (event) => { event.preventDefault(); document.body.classList.add('over'); });
  document.addEventListener('dragleave', () => document.body.classList.remove('over'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('over');
    const file = event.dataTransfer && event.dataTransfer.files[0];
    if (!file) return;
    selectTab('tab-fonts');
    openFontFile(file);
  });

  $('repertoire').addEventListener('change', () => { drawGrid(); showSyllable(view.code); });
  $('grid').addEventListener('click', (event) => {
    const rect = $('grid').getBoundingClientRect();
    const code = rp.gridCodeAt(Math.floor(event.clientX - rect.left), Math.floor(event.clientY - rect.top));
    if (code) showSyllable(code, false);
  });
  $('grid').addEventListener('keydown', moveInGrid);
  $('goto-button').addEventListener('click', gotoTyped);
  $('goto').addEventListener('keydown', (event) => { if (event.key === 'Enter') gotoTyped(); });

  $('edit-kind').addEventListener('change', () => {
    view.kind = $('edit-kind').value; fillIndexChoices(); editCell(view.kind, Number($('edit-index').value));
  });
  $('edit-index').addEventListener('change', () => editCell(view.kind, Number($('edit-index').value)));
  const editor = $('editor');
  editor.addEventListener('pointerdown', startStroke);
  editor.addEventListener('pointermove', (event) => strokeTo(editorPixel(event)));
  editor.addEventListener('pointerup', endStroke);
  editor.addEventListener('pointercancel', endStroke);
  editor.addEventListener('keydown', editorKeys);
  $('undo').addEventListener('click', undo);
  $('redo').addEventListener('click', redo);
  document.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.target.matches('input, textarea')) return;
    const key = event.key.toLowerCase();
    if (key === 'z' && !event.shiftKey) { event.preventDefault(); undo(); }
    else if (key === 'y' || (key === 'z' && event.shiftKey)) { event.preventDefault(); redo(); }
  });
  $('save-png').addEventListener('click', () => download('png'));
}

async function start() {
  const started = performance.now();
  try {
    rp = await createRuneplate();
  } catch (error) {
    complain(`The engine could not start (${error.message}); serve this folder over HTTP, for example with scripts/studio.`);
    return;
  }
  fillShipped();
  fillIndexChoices();
  fillFormats();
  wire();
  showHistory();
  if (restoreWork()) {
    say(font.edited ? `Your edits of ${font.label} from the last visit are back.`
      : `Loaded ${font.label}, the font of your last visit.`);
  } else {
    await openShipped('round');
  }
  drawText();
  editCell('jamo', 0);
  showSyllable(view.code, false);
  document.body.dataset.firstDrawMs = String(Math.round(performance.now() - started));
  document.body.dataset.ready = 'true';
}

start();
