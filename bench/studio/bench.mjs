// The studio's figures (bench/studio/run.sh runs this): never pass or fail,
// the goals printed beside them. The module's own figures are taken under
// node, the same V8 and WebAssembly engine as Chromium; the page's opening
// in headless Chromium itself.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const site = path.join(root, 'build', 'web', 'site');
const round = path.join(root, 'assets', 'fonts', 'round');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(value < 10 ? 2 : 0)} ms`;
function timed(times, action) {
  const spent = [];
  for (let i = 0; i < times; ++i) {
    const start = performance.now();
    action(i);
    spent.push(performance.now() - start);
  }
  return median(spent);
}

function siteSize() {
  let raw = 0, gzipped = 0, later = 0;
  const rows = [];
  const walk = (dir) => {
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const file = path.join(dir, entry.name);
      if (entry.isDirectory()) { walk(file); continue; }
      const bytes = fs.readFileSync(file);
      const packed = zlib.gzipSync(bytes, { level: 9 }).length;
      raw += bytes.length;
      gzipped += packed;
      // Fetched only for an OpenType download; the licences only when read.
      if (/^runeplate-fonts\./.test(entry.name) || path.basename(dir) === 'licences') later += packed;
      rows.push([packed, path.relative(site, file)]);
    }
  };
  walk(site);
  console.log('site size');
  for (const [packed, name] of rows.sort((a, b) => b[0] - a[0]).slice(0, 5))
    console.log(`  ${name}: ${(packed / 1024).toFixed(1)} KB gzipped`);
  console.log(`  all ${rows.length} files: ${(raw / 1024).toFixed(0)} KB, ${(gzipped / 1024).toFixed(1)} KB gzipped (goal: under 600 KB)`);
  console.log(`  loaded at first (all but runeplate-fonts.js/.wasm and the licences): ${((gzipped - later) / 1024).toFixed(1)} KB gzipped`);
}

async function moduleFigures() {
  const { default: createRuneplate } = await import(path.join(site, 'runeplate.js'));
  const rp = await createRuneplate({ wasmBinary: fs.readFileSync(path.join(site, 'runeplate.wasm')) });
  const bmp = new Uint8Array(fs.readFileSync(path.join(round, 'a1bit.bmp')));
  rp.setAtlas(bmp.subarray(62), 'a1bit.bmp', fs.readFileSync(path.join(round, 'NOTICE'), 'utf8'));

  console.log('the syllable grid (11,172 syllables, 64 to a row, RGBA)');
  rp.drawGrid();
  console.log(`  whole grid drawn: ${ms(timed(20, () => rp.drawGrid()))} (includes laying out the grid)`);
  // One pixel of a different glyph each time, then only its syllables.
  const partial = timed(344, (g) => {
    const cell = rp.jamoCell(g);
    rp.setPixel(cell.x + 5, cell.y + 5, !rp.getPixel(cell.x + 5, cell.y + 5));
    rp.updateGrid(g);
  });
  console.log(`  one pixel edited, its glyph's syllables redrawn: ${ms(partial)} median over all 344 glyphs (goal: under 16 ms)`);
  const whole = timed(20, (i) => {
    rp.setPixel(7, 70, i % 2 === 0);
    rp.drawGrid();
  });
  console.log(`  one pixel edited, every syllable redrawn: ${ms(whole)} (goal: under 16 ms)`);
  rp.setAtlas(bmp.subarray(62), 'a1bit.bmp', fs.readFileSync(path.join(round, 'NOTICE'), 'utf8'));

  console.log('text');
  const line = rp.frameLines()[0].text;
  const block = Array.from({ length: 36 }, () => line).join('\n');
  console.log(`  the 36-line frame text composed into RGBA: ${ms(timed(20, () => rp.drawText(block)))}`);

  console.log('importing fonts (atlas and report)');
  const sources = [
    ['Neo둥근모 TTF (jamo by name)', path.join(root, 'build', 'cache', 'neodgm-0.5.0', 'neodgm.ttf'), {}],
    ['Neo둥근모 TTF, jamo fitted to its 11,172 syllables', path.join(root, 'build', 'cache', 'neodgm-0.5.0', 'neodgm.ttf'), { jamoNames: 'none' }],
    ['Baekmuk Dotum 16 PCF.gz, fitted to 2,350 syllables', '/usr/share/fonts/X11/75dpi/dotum16.pcf.gz', {}],
    ['GNU Unifont .hex, fitted by its rules', '/usr/share/unifont/unifont.hex', {}],
  ];
  for (const [label, file, options] of sources) {
    if (!fs.existsSync(file)) { console.log(`  ${label}: ${file} is missing`); continue; }
    const bytes = new Uint8Array(fs.readFileSync(file));
    const name = path.basename(file);
    let ok = true;
    const spent = timed(3, () => { ok = rp.loadFont(bytes, name, options).ok && ok; });
    console.log(`  ${label}: ${ms(spent)}${ok ? '' : ' (failed)'}`);
  }

  const { default: createRuneplateFonts } = await import(path.join(site, 'runeplate-fonts.js'));
  const fonts = await createRuneplateFonts({ wasmBinary: fs.readFileSync(path.join(site, 'runeplate-fonts.wasm')) });
  const source = rp.atlasSource();
  fonts.setAtlas(rp.getAtlas(), source.fileName, source.notice);
  const openType = new Set(['ttf', 'otf', 'woff2', 'otb']);

  console.log('writing each format (the whole font; OpenType kinds by runeplate-fonts.wasm)');
  for (const format of rp.formats()) {
    if (!format.available) { console.log(`  ${format.kind}: not in this build`); continue; }
    let size = 0;
    const spent = timed(3, () => { size = (openType.has(format.kind) ? fonts : rp).write(format.kind).bytes.length; });
    console.log(`  ${format.kind}: ${ms(spent)}, ${(size / 1024).toFixed(0)} KB`);
  }
}

async function pageFigures() {
  let puppeteer, serve;
  try {
    puppeteer = createRequire(path.join(root, 'build', 'cache', 'browser-tests', '/'))('puppeteer-core');
    ({ serve } = await import(path.join(root, 'web', 'serve.mjs')));
  } catch (error) {
    console.log(`the page: not measured (${error.message.split('\n')[0]})`);
    return;
  }
  const server = await serve(site, 0);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'runeplate-bench-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const opened = [];
    for (let i = 0; i < 5; ++i) {
      const context = await browser.createBrowserContext?.() ?? await browser.createIncognitoBrowserContext();
      const page = await context.newPage();
      await page.goto(server.url, { waitUntil: 'domcontentloaded' });
      await page.waitForSelector('body[data-ready=true]', { timeout: 60000 });
      // From the start of navigation to the page saying its text is drawn.
      opened.push(await page.evaluate(() => performance.now()));
      await context.close();
    }
    console.log('the page (headless Chromium, a fresh profile each time)');
    console.log(`  from opening the page to the first drawn text: ${ms(median(opened))} median of 5`);
  } finally {
    await browser.close();
    await server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

siteSize();
await moduleFigures();
await pageFigures();
