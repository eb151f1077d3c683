// The studio's WebAssembly module under node, judged against the native
// tools: every atlas, report, download and picture must be the bytes
// runeplate-fontgen and runeplate-render give for the same input.
// STUDIO_SITE: the built site (build/web/site); RUNEPLATE_NATIVE: the native
// build with the tools (build/native).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const site = path.resolve(root, process.env.STUDIO_SITE ?? 'build/web/site');
const native = path.resolve(root, process.env.RUNEPLATE_NATIVE ?? 'build/native');
const fontgen = path.join(native, 'tools', 'runeplate-fontgen');
const render = path.join(native, 'tools', 'runeplate-render');
const round = path.join(root, 'assets', 'fonts', 'round');
const neodgm = path.join(root, 'build', 'cache', 'neodgm-0.5.0', 'neodgm.ttf');
const dotumPcf = '/usr/share/fonts/X11/75dpi/dotum16.pcf.gz';
const unifontHex = '/usr/share/unifont/unifont.hex';

let rp;
let fonts;
let work;
const fontKinds = new Set(['ttf', 'otf', 'woff2', 'otb']);

// As the page does: the OpenType kinds from runeplate-fonts.wasm, handed the
// main module's current font under its name and notice.
function writerFor(kind) {
  if (!fontKinds.has(kind)) return rp;
  const source = rp.atlasSource();
  assert.equal(fonts.setAtlas(rp.getAtlas(), source.fileName, source.notice).ok, true);
  return fonts;
}

before(async () => {
  for (const tool of [fontgen, render])
    assert.ok(fs.existsSync(tool), `${tool} is missing: build the native preset first`);
  const { default: createRuneplate } = await import(path.join(site, 'runeplate.js'));
  rp = await createRuneplate({ wasmBinary: fs.readFileSync(path.join(site, 'runeplate.wasm')) });
  const { default: createRuneplateFonts } = await import(path.join(site, 'runeplate-fonts.js'));
  fonts = await createRuneplateFonts({ wasmBinary: fs.readFileSync(path.join(site, 'runeplate-fonts.wasm')) });
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'runeplate-module-test-'));
  // Sources fontgen makes from the round atlas, and a DOS 8 x 16 font.
  for (const ext of ['png', 'han', 'bdf'])
    execFileSync(fontgen, [path.join(round, 'a1bit.bmp'), '-o', path.join(work, `round.${ext}`)]);
  fs.writeFileSync(path.join(work, 'dos.f16'), Buffer.from(Array.from({ length: 4096 }, (_, i) => (i * 37 + (i >> 4)) & 0xff)));
  execFileSync(render, ['-o', path.join(work, 'small.png'), 'A']);
});

after(() => {
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

// Runs `tool` in a fresh folder holding `files` ({name: bytes}); its status,
// standard output and error, and that folder.
// The module never sees this process's environment, so fontgen is run
// without the one variable that changes what it writes: SOURCE_DATE_EPOCH,
// the fonts' date (else a set one fails every OpenType row).
const { SOURCE_DATE_EPOCH: _, ...toolEnv } = process.env;

function runIn(files, tool, args) {
  const dir = fs.mkdtempSync(path.join(work, 'run-'));
  for (const [name, bytes] of Object.entries(files)) fs.writeFileSync(path.join(dir, name), bytes);
  const run = spawnSync(tool, args, { cwd: dir, maxBuffer: 1 << 28, env: toolEnv });
  return { status: run.status, stdout: run.stdout.toString(), stderr: run.stderr.toString(), dir };
}

const read = (file) => new Uint8Array(fs.readFileSync(file));
const readWork = (name) => read(path.join(work, name));

// Each source kind fontgen reads, as the page hands it over; each row names
// the fault it would catch.
const sources = [
  { fault: 'an atlas BMP read other than fontgen reads it', file: () => read(path.join(round, 'a1bit.bmp')), name: 'a1bit.bmp' },
  { fault: 'the two-colour atlas PNG misread (libpng in the module)', file: () => readWork('round.png'), name: 'round.png' },
  { fault: 'a classic 8x4x4 file misread', file: () => readWork('round.han'), name: 'round.han' },
  { fault: 'a BDF (FreeType in the module) read differently', file: () => readWork('round.bdf'), name: 'round.bdf' },
  { fault: 'a gzipped PCF not unpacked, or the fit or --ascii differing', file: () => read(dotumPcf), name: 'dotum16.pcf.gz',
    ascii: () => read(unifontHex), asciiName: 'unifont.hex' },
  { fault: 'a TrueType font drawn or named differently', file: () => read(neodgm), name: 'neodgm.ttf' },
  { fault: 'a TrueType font at a size with its names ignored fitted differently', file: () => read(neodgm), name: 'neodgm.ttf',
    size: 16, jamoNames: 'none' },
  { fault: 'Unifont hex read, or its rules fitted, differently', file: () => read(unifontHex), name: 'unifont.hex' },
  { fault: 'a 4,096-byte DOS font for the ASCII not taken', file: () => readWork('round.han'), name: 'round.han',
    ascii: () => readWork('dos.f16'), asciiName: 'dos.f16' },
  { fault: 'a truncated .han accepted or given another message', file: () => readWork('round.han').subarray(0, 1000), name: 'cut.han' },
  { fault: 'a garbage TTF accepted or given another message', file: () => new TextEncoder().encode('not a font at all\n'.repeat(40)), name: 'junk.ttf' },
  { fault: 'a PNG of the wrong size accepted or given another message', file: () => readWork('small.png'), name: 'small.png' },
];

for (const row of sources) {
  test(`loadFont equals runeplate-fontgen: ${row.fault}`, () => {
    const bytes = row.file();
    const files = { [row.name]: bytes };
    const args = [row.name, '-o', 'out.bmp', '--report'];
    const options = {};
    if (row.ascii) {
      options.ascii = row.ascii();
      options.asciiName = row.asciiName;
      files[row.asciiName] = options.ascii;
      args.push('--ascii', row.asciiName);
    }
    if (row.size) (options.size = row.size), args.push('--size', String(row.size));
    if (row.jamoNames) (options.jamoNames = row.jamoNames), args.push('--jamo-names', row.jamoNames);
    const expected = runIn(files, fontgen, args);
    const loaded = rp.loadFont(bytes, row.name, options);
    if (expected.status !== 0) {
      assert.equal(loaded.ok, false);
      assert.equal(`runeplate-fontgen: ${loaded.error}\n`, expected.stderr);
      return;
    }
    assert.equal(loaded.ok, true, loaded.error);
    assert.deepEqual(loaded.atlas, read(path.join(expected.dir, 'out.bmp')).subarray(62));
    assert.equal(loaded.report, expected.stdout);
    assert.deepEqual(loaded.warnings.map((w) => `runeplate-fontgen: warning: ${w}\n`).join(''), expected.stderr);
    // The worst syllables shown are the report's, each pair of pictures
    // differing in exactly as many pixels as it says.
    const listed = /^worst syllables:(.*)$/m.exec(loaded.report)?.[1] ?? ' none';
    const shown = loaded.worst.map((w) => ` ${String.fromCodePoint(w.code)} U+${w.code.toString(16).toUpperCase()} (${w.pixels})`).join('');
    assert.equal(shown || ' none', listed);
    for (const w of loaded.worst)
      assert.equal(w.source.reduce((n, ink, i) => n + (ink !== w.composed[i]), 0), w.pixels, `U+${w.code.toString(16)}`);
  });
}

// Every download, from an atlas with its NOTICE beside it, as fontgen
// writes it from the same files.
const downloads = [
  { fault: 'the atlas bitmap header or rows differing', kind: 'bmp', args: ['-o', 'a1bit.bmp'], out: 'a1bit.bmp' },
  { fault: 'the atlas PNG encoded differently', kind: 'png', args: ['-o', 'a1bit.png'], out: 'a1bit.png' },
  { fault: 'the 8x4x4 file written differently', kind: 'han', args: ['-o', 'a1bit.han'], out: 'a1bit.han' },
  { fault: 'the C header losing the NOTICE entries', kind: 'h', args: ['-o', 'a1bit.h'], out: 'a1bit.h' },
  { fault: '--c-name not passed on', kind: 'h', options: { cName: 'my_font' }, args: ['-o', 'a1bit.h', '--c-name', 'my_font'], out: 'a1bit.h' },
  { fault: '--compact not written, or named as the full header', kind: 'h-compact', args: ['-o', 'a1bit.h', '--compact'], out: 'a1bit.h' },
  { fault: 'a BDF glyph composed differently (every ASCII and syllable picture)', kind: 'bdf', args: ['-o', 'a1bit.bdf'], out: 'a1bit.bdf' },
  { fault: '--chars ksx1001 ignored', kind: 'bdf', options: { chars: 'ksx1001' }, args: ['-o', 'a1bit.bdf', '--chars', 'ksx1001'], out: 'a1bit.bdf' },
  { fault: '--family and --ascent ignored', kind: 'bdf', options: { family: 'Test Face', ascent: 12, stem: 'face' },
    args: ['-o', 'face.bdf', '--family', 'Test Face', '--ascent', '12'], out: 'face.bdf' },
  { fault: 'characters of a text not taken as --chars FILE takes them', kind: 'bdf', options: { charsText: '가나다 abc\n한' },
    files: { 'chars.txt': new TextEncoder().encode('가나다 abc\n한') }, args: ['-o', 'a1bit.bdf', '--chars', 'chars.txt'], out: 'a1bit.bdf' },
  { fault: 'conjoining jamo in the text taken one by one, not as the syllable --chars FILE takes', kind: 'bdf',
    options: { charsText: '\u1112\u1161\u11ab\u1100\u1173\u11af' },
    files: { 'chars.txt': new TextEncoder().encode('\u1112\u1161\u11ab\u1100\u1173\u11af') },
    args: ['-o', 'a1bit.bdf', '--chars', 'chars.txt'], out: 'a1bit.bdf' },
  { fault: 'a --family a CFF font names itself by not passed on', kind: 'otf', options: { family: 'Test Face', stem: 'face' },
    args: ['-o', 'face.otf', '--family', 'Test Face'], out: 'face.otf' },
  // The OpenType kinds, from fontgen's own writers (Brotli and woff2 in the module for WOFF2).
  { fault: 'a TrueType font not fontgen\'s', kind: 'ttf', args: ['-o', 'a1bit.ttf'], out: 'a1bit.ttf' },
  { fault: 'a CFF font not fontgen\'s', kind: 'otf', args: ['-o', 'a1bit.otf'], out: 'a1bit.otf' },
  { fault: 'a WOFF2 (Brotli in the module) not fontgen\'s', kind: 'woff2', args: ['-o', 'a1bit.woff2'], out: 'a1bit.woff2' },
  { fault: 'a bitmap-only OpenType font not fontgen\'s', kind: 'otb', args: ['-o', 'a1bit.otb'], out: 'a1bit.otb' },
];

function roundFiles() {
  return { 'a1bit.bmp': read(path.join(round, 'a1bit.bmp')), NOTICE: read(path.join(round, 'NOTICE')) };
}

function setRound() {
  const files = roundFiles();
  const set = rp.setAtlas(files['a1bit.bmp'].subarray(62), 'a1bit.bmp', new TextDecoder().decode(files.NOTICE));
  assert.equal(set.ok, true);
}

for (const row of downloads) {
  test(`write('${row.kind}') equals runeplate-fontgen: ${row.fault}`, () => {
    // Every kind is built in: one said not to be is a download lost.
    assert.ok(rp.formats().find((f) => f.kind === row.kind).available, `${row.kind} is not in this build`);
    setRound();
    const expected = runIn({ ...roundFiles(), ...(row.files ?? {}) }, fontgen, ['a1bit.bmp', ...row.args]);
    assert.equal(expected.status, 0, expected.stderr);
    const written = writerFor(row.kind).write(row.kind, row.options ?? {});
    assert.equal(written.ok, true, written.error);
    assert.equal(written.fileName, row.out);
    assert.ok(Buffer.from(written.bytes).equals(fs.readFileSync(path.join(expected.dir, row.out))), `${row.out} differs`);
  });
}

test('the main module refuses the OpenType kinds in one line: the writers linked back in, or an empty font passed off as written', () => {
  setRound();
  for (const kind of fontKinds) {
    const written = rp.write(kind);
    assert.equal(written.ok, false, kind);
    assert.match(written.error, /written by runeplate-fonts\.wasm/);
    assert.ok(!written.error.includes('\n'), 'one line');
  }
});

test('atlasSource gives back what setAtlas took: a font handed across loses its name or notice', () => {
  assert.equal(rp.setAtlas(rp.getAtlas(), 'round.bmp', 'Made by hand.\n').ok, true);
  assert.deepEqual({ ...rp.atlasSource() }, { fileName: 'round.bmp', notice: 'Made by hand.\n' });
});

test('write(\'fnt\') zips exactly the .fnt and pages fontgen writes: a page lost, renamed or re-encoded', () => {
  setRound();
  const expected = runIn(roundFiles(), fontgen, ['a1bit.bmp', '-o', 'a1bit.fnt']);
  assert.equal(expected.status, 0, expected.stderr);
  const written = rp.write('fnt');
  assert.equal(written.ok, true, written.error);
  const zip = path.join(expected.dir, written.fileName);
  fs.writeFileSync(zip, written.bytes);
  const listed = execFileSync('unzip', ['-Z1', zip]).toString().trim().split('\n');
  const made = fs.readdirSync(expected.dir).filter((n) => n.startsWith('a1bit') && !n.endsWith('.bmp') && !n.endsWith('.zip'));
  assert.deepEqual([...listed].sort(), made.sort());
  assert.equal(listed[0], 'a1bit.fnt');
  for (const name of listed)
    assert.ok(execFileSync('unzip', ['-p', zip, name], { maxBuffer: 1 << 26 }).equals(fs.readFileSync(path.join(expected.dir, name))), name);
});

test('write refuses what it cannot do in one sentence: an unknown kind, an OpenType kind not in this build, a bad option', () => {
  setRound();
  const rows = [
    { kind: 'gif', options: {}, error: /'gif' is not a kind of download/ },
    { kind: 'bdf', options: { chars: 'latin' }, error: /--chars wants all, ksx1001 or a text/ },
    { kind: 'h', options: { cName: '9lives' }, error: /--c-name wants a C identifier/ },
    { kind: 'bdf', options: { ascent: 40 }, error: /--ascent wants/ },
    // A family name fontgen's command line refuses written into the font anyway.
    { kind: 'ttf', options: { family: 'two\nlines' }, error: /^--family / },
  ];
  for (const f of rp.formats().filter((f) => !f.available)) rows.push({ kind: f.kind, options: {}, error: /is not in this build/ });
  for (const row of rows) {
    const written = writerFor(row.kind).write(row.kind, row.options);
    assert.equal(written.ok, false, row.kind);
    assert.match(written.error, row.error);
    assert.ok(!written.error.includes('\n'), 'one line');
  }
});

// Composed text: the module's picture is the reference renderer's, byte for
// byte as PNG (the same libpng and zlib in both).
const allSyllables = Array.from({ length: 11172 }, (_, s) => String.fromCharCode(0xac00 + s)).join('');
const ascii = Array.from({ length: 95 }, (_, c) => String.fromCharCode(32 + c)).join('');
const texts = [
  { fault: 'any ASCII or syllable composed differently from the native build', text: ascii + '\n' + allSyllables, wrap: 1024 },
  { fault: 'decomposed jamo not composed as the syllable, or lone jamo not drawn', text: '\u1112\u1161\u11ab\u1100\u1173\u11af \u1100 \u1161 \u11a8 ㄱㅏ' },
  { fault: 'CR, LF and CRLF line breaks handled differently', text: 'one\rtwo\nthree\r\nfour 가' },
  { fault: 'wrapping at spaces and inside long words differing', text: 'a long line of words 아름다운 강산 wraps here', wrap: 60 },
  { fault: 'the scale not applied as --scale does', text: '한글 Hello', scale: 3 },
];

for (const row of texts) {
  test(`textPng equals runeplate-render --compose: ${row.fault}`, () => {
    setRound();
    const args = ['--font', path.join(round, 'a1bit.bmp'), '-o', 'text.png'];
    if (row.wrap) args.push('--wrap', String(row.wrap));
    else args.push('--compose');
    if (row.scale) args.push('--scale', String(row.scale));
    const expected = runIn({}, render, [...args, '--', row.text]);
    assert.equal(expected.status, 0, expected.stderr);
    const png = rp.textPng(row.text, { wrap: row.wrap ?? 0, scale: row.scale ?? 1 });
    assert.equal(png.ok, true, png.error);
    assert.ok(Buffer.from(png.bytes).equals(fs.readFileSync(path.join(expected.dir, 'text.png'))));
    const picture = rp.drawText(row.text, { wrap: row.wrap ?? 0 });
    const size = rp.measureText(row.text, row.wrap ?? 0);
    assert.deepEqual([picture.width, picture.height], [size.width, size.height]);
  });
}

test('frame 0 draws the 36 lines in the colours frameLines gives: the two drifting apart, or the seed left moved', () => {
  setRound();
  assert.deepEqual(rp.frameLines(), rp.frameLines());
  const frame = rp.drawFrame(0);
  assert.deepEqual([frame.width, frame.height], [800, 600]);
  const lines = rp.frameLines();
  assert.equal(lines.length, 36);
  // Each line's first ink pixel carries its colour.
  for (const [n, line] of lines.entries()) {
    const y = 16 * (n + 1);
    let found = null;
    for (let dy = 0; dy < 16 && found === null; ++dy)
      for (let x = 0; x < 800 && found === null; ++x) {
        const i = ((y + dy) * 800 + x) * 4;
        const rgb = (frame.pixels[i] << 16) | (frame.pixels[i + 1] << 8) | frame.pixels[i + 2];
        if (rgb !== 0xffffff) found = rgb;
      }
    assert.equal(found, line.colour, `line ${n + 1}`);
  }
});

// The sets each letter picks, from the engine's annotated tables; a wrong
// row, or a rule naming the wrong deciding letter, fails here.
const syllables = [
  { text: '가', sets: [['initial', 1], ['medial', 1]], rule: /the vowel ㅏ picks when no final/ },
  { text: '각', sets: [['initial', 6], ['medial', 3], ['final', 1]], rule: /the vowel ㅏ picks when a final/ },
  { text: '고', sets: [['initial', 2], ['medial', 1]], rule: /ㅗ/ },
  { text: '곡', sets: [['initial', 7], ['medial', 3], ['final', 4]], rule: /ㅗ/ },
  { text: '과', sets: [['initial', 4], ['medial', 1]], rule: /ㅘ/ },
  { text: '궈', sets: [['initial', 5], ['medial', 1]], rule: /ㅝ/ },
  { text: '놔', sets: [['initial', 4], ['medial', 2]], rule: /ㅘ/ },
  { text: '놘', sets: [['initial', 8], ['medial', 4], ['final', 1]], rule: /ㅘ/ },
  { text: '객', sets: [['initial', 6], ['medial', 3], ['final', 3]], rule: /ㅐ/ },
  { text: '걱', sets: [['initial', 6], ['medial', 3], ['final', 2]], rule: /ㅓ/ },
  { text: '쾅', sets: [['initial', 8], ['medial', 3], ['final', 1]], rule: /ㅘ/ },
];

test('explainSyllable names each glyph\'s set and the letter that chose it: a set table row or a rule sentence wrong', () => {
  for (const row of syllables) {
    const e = rp.explainSyllable(row.text.codePointAt(0));
    assert.equal(e.ok, true);
    assert.deepEqual(e.parts.map((p) => [p.role, p.set]), row.sets, row.text);
    assert.match(e.parts[0].rule, row.rule, row.text);
    const medial = e.parts[1];
    assert.match(medial.rule, new RegExp(`the initial ${e.letters.initial} picks`), row.text);
    for (const part of e.parts) assert.deepEqual(rp.glyphInfo(part.glyph).set, part.set);
  }
  for (const code of [0x41, 0x3131, 0xabff, 0xd7a4]) assert.equal(rp.explainSyllable(code).ok, false);
});

// Over every syllable: each rule names the set its glyph is from, and every
// letter it says picks the same set does, put in the deciding letter's place.
test('explainSyllable over all 11,172 syllables: a rule naming another set, or a letter that picks another', () => {
  const compat = (role, index) => rp.glyphInfo(role === 'initial' ? index - 1 : 152 + index - 1).letter;
  for (let s = 0; s < 11172; ++s) {
    const code = 0xac00 + s;
    const initial = Math.floor(s / 588) + 1, medial = Math.floor((s % 588) / 28) + 1, final = s % 28;
    const e = rp.explainSyllable(code);
    assert.deepEqual(e.parts.map((p) => p.role), final ? ['initial', 'medial', 'final'] : ['initial', 'medial']);
    for (const part of e.parts) {
      assert.ok(part.rule.startsWith(`${part.role} set ${part.set}: `), part.rule);
      if (s % 37 !== 0) continue;  // the swaps on a sample: a few hundred syllables
      const alike = / \(as do (.*)\)$/.exec(part.rule)?.[1]?.split(' ') ?? [];
      for (const letter of alike) {
        const byVowel = part.role !== 'medial';
        let other = 0;
        for (let k = 1; k <= (byVowel ? 21 : 19) && !other; ++k) if (compat(byVowel ? 'medial' : 'initial', k) === letter) other = k;
        assert.ok(other > 0, letter);
        const swapped = byVowel ? ((initial - 1) * 21 + other - 1) * 28 + final : ((other - 1) * 21 + medial - 1) * 28 + final;
        const twin = rp.explainSyllable(0xac00 + swapped).parts.find((p) => p.role === part.role);
        assert.equal(twin.set, part.set, `${String.fromCodePoint(code)} ${part.role} and ${letter}`);
      }
    }
  }
});

test('the grid\'s users of each glyph are the syllables that draw it: a stale or missing cell after an edit', () => {
  setRound();
  const grid = rp.drawGrid({ columns: 64 });
  assert.equal(grid.count, 11172);
  let drawn = 0;
  for (let g = 0; g < 344; ++g) {
    const users = rp.syllablesUsing(g);
    drawn += users.length;
    assert.equal(rp.updateGrid(g).redrawn, users.length, `glyph ${g}`);
    for (const code of users.slice(0, 3))
      assert.ok(rp.explainSyllable(code).parts.some((p) => p.glyph === g), `U+${code.toString(16)} and glyph ${g}`);
  }
  // Two glyphs a syllable, three with a final (27 of every 28).
  assert.equal(drawn, 11172 * 2 + 11172 / 28 * 27);

  // Ink one pixel of each kind of glyph; the partial redraw equals a whole one.
  for (const g of [0, 95, 194, 343]) {
    const cell = rp.jamoCell(g);
    const x = cell.x + 7, y = cell.y + 7;
    const before = rp.getPixel(x, y);
    assert.equal(rp.setPixel(x, y, !before).ok, true);
    const partial = rp.updateGrid(g).pixels.slice();
    const whole = rp.drawGrid({ columns: 64 }).pixels.slice();
    assert.ok(Buffer.from(partial).equals(Buffer.from(whole)), `glyph ${g}`);
    rp.setPixel(x, y, before);
    rp.drawGrid({ columns: 64 });
  }
  const code = 0xd7a3;
  const at = rp.gridCellOf(code);
  assert.equal(rp.gridCodeAt(at.x + 3, at.y + 3), code);
  assert.equal(rp.drawGrid({ repertoire: 'ksx1001' }).count, 2350);
});

test('cells and pixels: a cell found in the wrong place, or an edit outside the atlas taken', () => {
  for (const [kind, index, get] of [['jamo', 343, rp.jamoCell], ['ascii', 65, rp.asciiCell], ['letter', 50, rp.letterCell]]) {
    const rect = get(index);
    assert.deepEqual(rp.cellAt(rect.x + rect.width - 1, rect.y + rect.height - 1), { kind, index });
    assert.equal(rp.cellPicture(kind, index).length, rect.width * rect.height);
  }
  assert.equal(rp.setPixel(512, 0, true).ok, false);
  assert.equal(rp.setPixel(-1, 0, true).ok, false);
  assert.equal(rp.jamoCell(344), null);
});

test('bad input leaves the font loaded: a 65 MB file, a wrong-sized atlas', () => {
  setRound();
  const atlas = rp.getAtlas();
  const big = rp.loadFont(new Uint8Array(65 << 20), 'big.ttf');
  assert.equal(big.ok, false);
  assert.match(big.error, /^big\.ttf: 65 MB is larger than any font/);
  assert.equal(rp.setAtlas(new Uint8Array(100)).ok, false);
  assert.deepEqual(rp.getAtlas(), atlas);
});
