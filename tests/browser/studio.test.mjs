// The studio page in a real Chromium, judged against the native tools: what
// it draws against runeplate-render, what it reads and writes against
// runeplate-fontgen. One browser for the whole file; the cases run in order
// on one page, as a user's session would.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { copyFileSync, mkdirSync, writeFileSync } from 'node:fs';
import { execFileSync } from 'node:child_process';
import {
  Studio, tool, site, root, scratch, files, join, basename, readFileSync,
} from './lib/harness.mjs';

let studio;
before(async () => { studio = await Studio.open(); });
after(async () => { await studio?.close(); });

const round = join(site, 'fonts/round/a1bit.bmp');

// Sources copied into one folder, so that fontgen run there names them as
// bare file names, as the page (which only has the file's name) does.
const sources = join(scratch, 'sources');
mkdirSync(sources, { recursive: true });
function source(path, name = basename(path)) {
  copyFileSync(path, join(sources, name));
  return name;
}

async function renderNative(text, { wrap = 0, scale = 1, font = round, ink = '000000' } = {}) {
  const out = join(scratch, 'render.png');
  const args = ['--font', font, '--scale', String(scale), '--colour', `FF${ink}`,
    ...(wrap ? ['--wrap', String(wrap)] : ['--compose']), '-o', out, '--', text];
  await tool('render', args);
  return studio.png(readFileSync(out));
}

describe('text', () => {
  // Each row would catch the page drawing text its own way instead of the
  // engine's: a lost composition, a wrong wrap, a smoothed or misplaced zoom.
  const rows = [
    { name: 'mixed Hangul and Latin', text: '한글과 Latin을 한 줄에: 8x4x4 글꼴.' },
    { name: 'decomposed Hangul composes as the precomposed does', text: '한글 똠방각하'.normalize('NFD') },
    { name: 'lone jamo and compatibility letters', text: 'ㅎㅏㄴ ㄱ ㅏ ᄒ ᅡ ᆫ' },
    { name: 'line breaks', text: '첫 줄\n둘째 줄 second\n\n넷째' },
    { name: 'wrapped to a width', text: '감사합니다 thank you 고맙습니다 very much', wrap: 96 },
    { name: 'zoomed three times, nearest pixel', text: '확대 zoom', zoom: 3 },
    { name: 'in a chosen ink', text: '파란 blue', ink: '1f5fbf' },
  ];
  for (const row of rows) {
    test(`typed text equals runeplate-render: ${row.name}`, async () => {
      await studio.setValue('#wrap', row.wrap || 0);
      await studio.setValue('#zoom', row.zoom || 1);
      await studio.setValue('#ink', `#${row.ink || '000000'}`);
      await studio.type(row.text);
      const drawn = await studio.canvas('#text-canvas');
      const expected = await renderNative(row.text, { wrap: row.wrap, scale: row.zoom || 1, ink: row.ink });
      assert.equal(await studio.difference(drawn, expected), null);
    });
  }

  test('a text too wide for a canvas says so and keeps the last picture', async () => {
    // Would catch a canvas wider than Chromium draws, left blank without a word.
    await studio.setValue('#zoom', 8);
    await studio.type('넓은 글');
    const shown = await studio.canvas('#text-canvas');
    await studio.page.$eval('#text', (t) => { t.value = '가'.repeat(600); t.dispatchEvent(new Event('input')); });
    assert.match(await studio.text('#error'), /^The text is 76800 x 128 pixels at 8x, too large to show/);
    assert.equal(await studio.difference(await studio.canvas('#text-canvas'), shown), null);
    await studio.setValue('#zoom', 1);
    assert.equal(await studio.text('#error'), '');
  });

  test('the sample frame equals runeplate-render --frame 0', async () => {
    // Would catch the page drawing its own frame instead of the program's.
    await studio.setValue('#ink', '#000000');
    await studio.page.click('#sample-frame');
    const out = join(scratch, 'frame.png');
    await tool('render', ['--font', round, '--frame', '0', '-o', out]);
    assert.equal(await studio.difference(await studio.canvas('#frame-canvas'), await studio.png(readFileSync(out))), null);
    assert.equal((await studio.page.$eval('#text', (t) => t.value)).split('\n').length, 36);
  });
});

describe('fonts', () => {
  const dos = join(sources, 'vga.fnt');
  // A 4,096-byte 8 x 16 font: each cell a pattern of its own code.
  writeFileSync(dos, Uint8Array.from({ length: 4096 }, (_, i) => (i >> 4) ^ (i * 37)));
  writeFileSync(join(sources, 'dotum16.pcf'),
    execFileSync('gzip', ['-dc', '/usr/share/fonts/X11/75dpi/dotum16.pcf.gz']));
  const made = async (out) => { await tool('fontgen', [round, '-o', join(sources, out)]); return out; };

  // Each row would catch a reader of that format that differs from fontgen's
  // (or an option, --size or --ascii, that the page drops on the way).
  const rows = [
    { name: 'Unifont .hex (a fit)', file: () => source('/usr/share/unifont/unifont.hex') },
    { name: 'TrueType with named jamo', file: () => source(join(root, 'build/cache/neodgm-0.5.0/neodgm.ttf')) },
    { name: 'gzipped PCF with the ASCII from Unifont', file: () => source('/usr/share/fonts/X11/75dpi/dotum16.pcf.gz'),
      ascii: () => source('/usr/share/unifont/unifont.hex') },
    { name: 'plain PCF at its 16-pixel strike', file: () => 'dotum16.pcf', size: 16 },
    { name: 'BDF', file: () => made('round.bdf') },
    { name: 'classic 8x4x4 .han', file: () => made('round.han') },
    { name: 'atlas PNG', file: () => made('round.png') },
    { name: 'atlas BMP', file: () => source(join(site, 'fonts/unifont/a1bit.bmp'), 'unifont.bmp') },
    { name: 'a DOS 8x16 font for the ASCII', file: () => made('round-copy.bmp'), ascii: () => 'vga.fnt' },
  ];
  for (const row of rows) {
    test(`opening ${row.name} gives fontgen's atlas and report`, async () => {
      const file = await row.file();
      const ascii = row.ascii ? row.ascii() : null;
      const args = [file, ...(row.size ? ['--size', String(row.size)] : []), ...(ascii ? ['--ascii', ascii] : [])];
      const report = await tool('fontgen', [...args, '-o', join(scratch, 'expected.bmp'), '--report'], sources);
      await studio.openFont(join(sources, file), { size: row.size || 0, ascii: ascii && join(sources, ascii) });
      assert.equal(await studio.text('#error'), '');
      assert.equal((await studio.text('#report')).trimEnd(), report.trimEnd());
      await studio.tab('download');
      const got = await studio.download('button[data-kind=bmp]');
      assert.ok(got.bytes.equals(readFileSync(join(scratch, 'expected.bmp'))), 'the atlas differs from fontgen\'s');
    });
  }

  test('a font dropped on the page is read as one chosen is', async () => {
    // Would catch a drop handler that reads nothing, or reads the wrong file.
    await studio.chooseAscii(null);
    await studio.setValue('#font-size', 0);
    const han = await made('dropped.han');
    await studio.drop(han, readFileSync(join(sources, han)));
    assert.equal(await studio.text('#error'), '');
    assert.equal(await studio.text('#font-name'), han);
    await tool('fontgen', [han, '-o', join(scratch, 'expected.bmp')], sources);
    await studio.tab('download');
    const got = await studio.download('button[data-kind=bmp]');
    assert.ok(got.bytes.equals(readFileSync(join(scratch, 'expected.bmp'))));
  });
});

describe('downloads', () => {
  before(async () => {
    await studio.tab('fonts');
    await studio.settled(() => studio.page.click('#shipped-round'));
    await studio.tab('download');
  });

  // Each row would catch a writer, or an option on the way to it, that
  // differs from fontgen's: the files are compared byte for byte.
  const rows = [
    { kind: 'bmp', args: ['-o', 'a1bit.bmp'] },
    { kind: 'png', args: ['-o', 'a1bit.png'] },
    { kind: 'han', args: ['-o', 'a1bit.han'] },
    { kind: 'h', args: ['-o', 'a1bit.h', '--c-name', 'my_atlas'], set: { '#dl-cname': 'my_atlas' } },
    { kind: 'h-compact', args: ['-o', 'a1bit.h', '--compact'] },
    { kind: 'bdf', args: ['-o', 'a1bit.bdf', '--chars', 'ksx1001'], set: { '#dl-chars': 'ksx1001' } },
    { kind: 'bdf', args: ['-o', 'tiny.bdf', '--family', 'Tiny Test', '--ascent', '12'],
      set: { '#dl-stem': 'tiny', '#dl-family': 'Tiny Test', '#dl-ascent': 12 } },
    { kind: 'fnt', args: ['-o', 'a1bit.fnt'], zip: true },
    { kind: 'ttf', args: ['-o', 'a1bit.ttf'] },
    { kind: 'otf', args: ['-o', 'a1bit.otf'] },
    { kind: 'woff2', args: ['-o', 'a1bit.woff2'] },
    { kind: 'otb', args: ['-o', 'a1bit.otb'] },
  ];
  const defaults = { '#dl-stem': 'a1bit', '#dl-cname': '', '#dl-family': '', '#dl-ascent': 0, '#dl-chars': 'all' };
  for (const row of rows) {
    test(`downloading ${row.kind} ${row.args.slice(2).join(' ')} equals fontgen's output`, async () => {
      const button = `button[data-kind="${row.kind}"]`;
      // Every kind is built in: a disabled button is a download lost.
      assert.equal(await studio.page.$eval(button, (b) => b.disabled), false, `${row.kind} is not offered`);
      for (const [selector, value] of Object.entries({ ...defaults, ...row.set })) await studio.setValue(selector, value);
      const want = join(scratch, `want-${row.kind}`);
      mkdirSync(want, { recursive: true });
      const args = row.args.map((a, i) => (i === 1 ? join(want, a) : a));
      await tool('fontgen', ['a1bit.bmp', ...args], join(site, 'fonts/round'));
      const got = await studio.download(button);
      if (!row.zip) {
        assert.equal(got.name, row.args[1]);
        assert.ok(got.bytes.equals(readFileSync(join(want, row.args[1]))), `${got.name} differs from fontgen's`);
        return;
      }
      const unpacked = join(scratch, `got-${row.kind}`);
      mkdirSync(unpacked, { recursive: true });
      writeFileSync(join(unpacked, got.name), got.bytes);
      execFileSync('unzip', ['-q', '-o', got.name], { cwd: unpacked });
      const inZip = files(unpacked).filter((f) => f !== got.name);
      assert.deepEqual(inZip, files(want));
      for (const f of inZip) assert.ok(readFileSync(join(unpacked, f)).equals(readFileSync(join(want, f))), `${f} differs`);
    });
  }
  after(async () => { for (const [selector, value] of Object.entries(defaults)) await studio.setValue(selector, value); });
});

describe('editing', () => {
  const columns = 64;
  // All 11,172 syllables as composed text, COLUMNS to a line: the grid as
  // runeplate-render draws it.
  const gridText = Array.from({ length: Math.ceil(11172 / columns) }, (_, row) =>
    Array.from({ length: Math.min(columns, 11172 - row * columns) },
      (_, k) => String.fromCodePoint(0xAC00 + row * columns + k)).join('')).join('\n');
  const whole = { cells: 11172, columns };

  test('editing one pixel of a jamo glyph redraws exactly the syllables the composer changes', async () => {
    // Would catch a grid update that misses syllables using the glyph, or
    // redraws others, and an edit that does not reach the atlas fontgen saves.
    await studio.tab('syllables');
    const before = await studio.canvas('#grid');
    assert.equal(await studio.difference(before, await renderNative(gridText), whole), null, 'the grid differs from the engine\'s');
    await studio.page.focus('#grid');
    await studio.page.keyboard.press('Home');
    for (let i = 0; i < 27; i++) await studio.page.keyboard.press('ArrowRight'); // 각 .. 갛 is 27 steps: 갛
    assert.match(await studio.text('#syllable-title'), /^갛 U\+AC1B/);
    await studio.page.click('#syllable-parts li:first-child button');
    for (const key of ['ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Space'])
      await studio.page.keyboard.press(key);
    const uses = Number((await studio.text('#edit-uses')).match(/^(\d+) syllables/)[1]);
    await studio.tab('syllables');
    const edited = await studio.canvas('#grid');
    await studio.tab('edit');
    const png = await studio.download('#save-png');
    writeFileSync(join(scratch, 'edited.png'), png.bytes);
    await tool('fontgen', ['edited.png', '-o', 'edited.bmp']);
    const expected = await renderNative(gridText, { font: join(scratch, 'edited.bmp') });
    assert.equal(await studio.difference(edited, expected, whole), null, 'the grid after the edit differs from the engine\'s');
    const changed = await studio.changedCells(before, edited, columns);
    assert.ok(changed.length > 0 && changed.length <= uses, `${changed.length} cells changed, ${uses} use the glyph`);
    assert.ok(changed.includes(0xAC1B - 0xAC00), '갛 itself did not change');
  });

  test('undo and redo give back the grid before and after, and the work survives a reload', async () => {
    // Would catch an undo that restores the atlas but not the grid, and work
    // lost on reload.
    const gridNow = () => studio.canvas('#grid');
    const edited = () => renderNative(gridText, { font: join(scratch, 'edited.bmp') });
    await studio.tab('edit');
    await studio.page.click('#undo');
    assert.equal(await studio.difference(await gridNow(), await renderNative(gridText), whole), null, 'after undo');
    await studio.page.click('#redo');
    assert.equal(await studio.difference(await gridNow(), await edited(), whole), null, 'after redo');
    await studio.load();
    assert.match(await studio.text('#status'), /^Your edits of round from the last visit are back/);
    assert.equal(await studio.difference(await gridNow(), await edited(), whole), null, 'after a reload');
  });
});

describe('editing with the mouse', () => {
  test('a press paints the pixel under the pointer, a drag paints on, one undo takes the stroke back', async () => {
    // Would catch pointer positions mapped to the wrong pixel, and a stroke
    // that takes one undo a pixel.
    await studio.tab('edit');
    await studio.page.select('#edit-kind', 'ascii');
    await studio.page.select('#edit-index', String('H'.charCodeAt(0)));
    const box = await (await studio.page.$('#editor')).boundingBox();
    const pixel = (x, y) => [box.x + (x + 0.5) * box.width / 8, box.y + (y + 0.5) * box.height / 16];
    // Whether the editor shows pixel (x, y) inked: the middle of its square is dark.
    const ink = (x, y) => studio.page.$eval('#editor', (c, x, y) =>
      c.getContext('2d').getImageData((x + 0.5) * c.width / 8, (y + 0.5) * c.height / 16, 1, 1).data[0] < 128, x, y);
    const before = [await ink(0, 0), await ink(1, 0), await ink(2, 0)];
    await studio.page.mouse.move(...pixel(0, 0));
    await studio.page.mouse.down();
    await studio.page.mouse.move(...pixel(1, 0), { steps: 3 });
    await studio.page.mouse.move(...pixel(2, 0), { steps: 3 });
    await studio.page.mouse.up();
    assert.match(await studio.text('#edit-cursor'), /^Pixel 0, 0: /);
    const painted = !before[0];
    assert.deepEqual([await ink(0, 0), await ink(1, 0), await ink(2, 0)], [painted, painted, painted]);
    await studio.page.click('#undo');
    assert.deepEqual([await ink(0, 0), await ink(1, 0), await ink(2, 0)], before);
    await studio.page.select('#edit-kind', 'jamo');
  });
});

describe('bad files', () => {
  let shown;
  let atlas;
  before(async () => {
    await studio.tab('fonts');
    await studio.settled(() => studio.page.click('#shipped-round'));
    await studio.type('보존 kept');
    shown = await studio.canvas('#text-canvas');
    atlas = readFileSync(round);
  });
  const han = async () => {
    await tool('fontgen', [round, '-o', join(scratch, 'whole.han')]);
    return readFileSync(join(scratch, 'whole.han')).subarray(0, 6000);
  };
  const wrongSizePng = async () => {
    await tool('fontgen', [round, '--preview', '작은 그림', '-o', join(scratch, 'small.png')]);
    return readFileSync(join(scratch, 'small.png'));
  };
  // Each row would catch a bad file that throws, blanks the page, replaces
  // the loaded font, or says nothing.
  const rows = [
    { name: 'a truncated .han', file: 'cut.han', bytes: han },
    { name: 'a garbage TTF', file: 'garbage.ttf',
      bytes: async () => Buffer.concat([Buffer.from([0, 1, 0, 0, 0, 9]), Buffer.alloc(3000, 0x5a)]) },
    { name: 'a PNG of the wrong size', file: 'small.png', bytes: wrongSizePng },
    { name: 'an empty file', file: 'empty.bdf', bytes: async () => Buffer.alloc(0) },
    { name: 'a 200 MB file', file: 'huge.ttf', bytes: async () => 200 << 20 },
  ];
  for (const row of rows) {
    test(`${row.name} gives one sentence and keeps the loaded font`, async () => {
      await studio.drop(row.file, await row.bytes());
      const error = await studio.text('#error');
      assert.match(error, new RegExp(`^${row.file.replace('.', '\\.')}: .*[.]$`));
      assert.ok(!error.includes('\n'), 'more than one line');
      assert.equal(await studio.text('#font-name'), 'round');
      await studio.tab('text');
      assert.equal(await studio.difference(await studio.canvas('#text-canvas'), shown), null);
    });
  }
  test('after the bad files the atlas is still the one loaded', async () => {
    await studio.tab('download');
    const got = await studio.download('button[data-kind=bmp]');
    assert.ok(got.bytes.equals(atlas));
  });
});

describe('keyboard', () => {
  test('the arrow keys walk the tabs and the grid', async () => {
    // Would catch a section or a syllable that only a mouse can reach.
    await studio.tab('text');
    await studio.page.focus('#tab-text');
    const shownPanel = () => studio.page.$$eval('[role=tabpanel]', (panels) => panels.filter((p) => !p.hidden).map((p) => p.id));
    for (const [key, panel] of [['ArrowRight', 'panel-fonts'], ['ArrowRight', 'panel-syllables'],
      ['End', 'panel-download'], ['ArrowRight', 'panel-text'], ['ArrowLeft', 'panel-download'], ['Home', 'panel-text']]) {
      await studio.page.keyboard.press(key);
      assert.deepEqual(await shownPanel(), [panel], `after ${key}`);
    }
    await studio.tab('syllables');
    await studio.page.focus('#grid');
    for (const [key, title] of [['Home', /^가 U\+AC00/], ['ArrowRight', /^각 U\+AC01/], ['ArrowDown', /^걁 U\+AC41/],
      ['ArrowLeft', /^걀 U\+AC40/], ['End', /^힣 U\+D7A3/]]) {
      await studio.page.keyboard.press(key);
      assert.match(await studio.text('#syllable-title'), title, `after ${key}`);
    }
    // KS X 1001's grid skips what it lacks: 갃 U+AC03 is not in it.
    await studio.page.select('#repertoire', 'ksx1001');
    await studio.page.focus('#grid');
    for (const [key, title] of [['Home', /^가 U\+AC00/], ['ArrowRight', /^각 U\+AC01/], ['ArrowRight', /^간 U\+AC04/],
      ['End', /^힝 U\+D79D/]]) {
      await studio.page.keyboard.press(key);
      assert.match(await studio.text('#syllable-title'), title, `after ${key} among KS X 1001's`);
    }
    await studio.page.select('#repertoire', 'all');
  });
});

describe('zoom', () => {
  test('at 200 % every section reflows to the window instead of scrolling sideways', async () => {
    // Would catch a fixed width (a picture, a row of controls) that pushes
    // the page wider than a zoomed window.
    const { width, height } = studio.page.viewport();
    await studio.page.setViewport({ width: 640, height: 480, deviceScaleFactor: 2 });
    try {
      for (const name of ['text', 'fonts', 'syllables', 'edit', 'download']) {
        await studio.tab(name);
        const [scroll, client] = await studio.page.evaluate(() =>
          [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
        assert.ok(scroll <= client, `${name}: the page is ${scroll} px wide in a ${client} px window`);
      }
    } finally {
      await studio.page.setViewport({ width, height });
    }
  });
});

test('the page logged no console error', () => {
  // Would catch an exception or a failed request anywhere in the run above.
  assert.deepEqual(studio.errors, []);
});
