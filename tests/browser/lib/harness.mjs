// One Chromium, one served site and the native tools for the whole run of
// the browser tests. Every wait is bounded; the browser and the server end
// with the run.
import { execFile } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, existsSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, dirname, basename, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';

export const root = resolve(dirname(fileURLToPath(import.meta.url)), '../../..');
export const site = resolve(process.env.STUDIO_SITE || join(root, 'build/web/site'));
const native = resolve(process.env.RUNEPLATE_NATIVE || join(root, 'build/native'));
export const tools = {
  render: join(native, 'tools/runeplate-render'),
  fontgen: join(native, 'tools/runeplate-fontgen'),
};

const puppeteer = createRequire(join(root, 'build/cache/browser-tests/'))('puppeteer-core');
const { serve } = await import(join(root, 'web/serve.mjs'));
const run = promisify(execFile);

export const scratch = mkdtempSync(join(tmpdir(), 'runeplate-browser-'));

// Runs a native tool in DIR (so that the names it reports are the bare file
// names the page reports too); resolves to its standard output.
// Without SOURCE_DATE_EPOCH, which the page never sees: it dates the fonts.
const { SOURCE_DATE_EPOCH: _, ...toolEnv } = process.env;
export async function tool(name, args, dir = scratch) {
  const { stdout } = await run(tools[name], args, { cwd: dir, maxBuffer: 64 << 20, env: toolEnv });
  return stdout;
}

export class Studio {
  static async open() {
    const studio = new Studio();
    studio.server = await serve(site, 0);
    studio.profile = mkdtempSync(join(tmpdir(), 'runeplate-chromium-'));
    studio.downloads = mkdtempSync(join(scratch, 'downloads-'));
    studio.browser = await puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      headless: true,
      userDataDir: studio.profile,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
    studio.errors = [];
    studio.page = await studio.browser.newPage();
    studio.page.on('console', (message) => {
      if (message.type() === 'error') studio.errors.push(message.text());
    });
    studio.page.on('pageerror', (error) => studio.errors.push(String(error)));
    studio.page.setDefaultTimeout(30000);
    studio.cdp = await studio.browser.target().createCDPSession();
    studio.begun = [];
    studio.ended = new Map();
    studio.cdp.on('Browser.downloadWillBegin', (event) => studio.begun.push(event));
    studio.cdp.on('Browser.downloadProgress', (event) => {
      if (event.state !== 'inProgress') studio.ended.set(event.guid, event.state);
    });
    await studio.cdp.send('Browser.setDownloadBehavior',
      { behavior: 'allowAndName', downloadPath: studio.downloads, eventsEnabled: true });
    await studio.load();
    return studio;
  }

  async load() {
    await this.page.goto(this.server.url, { waitUntil: 'load' });
    await this.ready();
  }

  async ready() {
    await this.page.waitForSelector('body[data-ready=true]', { timeout: 90000 });
  }

  async close() {
    await this.browser?.close();
    await this.server?.close();
    rmSync(this.profile, { recursive: true, force: true });
    rmSync(scratch, { recursive: true, force: true });
  }

  async tab(name) {
    await this.page.click(`#tab-${name}`);
  }

  async text(selector) {
    return this.page.$eval(selector, (element) => element.textContent);
  }

  // Sets an input's value as a user would leave it and lets the page hear.
  async setValue(selector, value) {
    await this.page.$eval(selector, (element, v) => {
      element.value = v;
      element.dispatchEvent(new Event('input', { bubbles: true }));
      element.dispatchEvent(new Event('change', { bubbles: true }));
    }, String(value));
  }

  // Replaces the text by typing it (line breaks as Enter).
  async type(text) {
    await this.tab('text');
    await this.page.$eval('#text', (element) => { element.value = ''; });
    await this.page.focus('#text');
    await this.page.keyboard.type(text);
  }

  // Pictures stay in the page (a grid is 11 MB of RGBA): canvas() and png()
  // keep one there and give back its name, difference() and changedCells()
  // compare two there. A reload forgets them.
  async canvas(selector) {
    return this.page.$eval(selector, (canvas) => {
      const kept = (window.testPictures ||= []);
      kept.push(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height));
      return kept.length - 1;
    });
  }

  // Decodes a PNG with the browser's own decoder.
  async png(bytes) {
    return this.page.evaluate(async (b64) => {
      const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const ctx = canvas.getContext('2d');
      ctx.drawImage(bitmap, 0, 0);
      const kept = (window.testPictures ||= []);
      kept.push(ctx.getImageData(0, 0, bitmap.width, bitmap.height));
      return kept.length - 1;
    }, Buffer.from(bytes).toString('base64'));
  }

  // Where pictures A and B first differ, or null. With CELLS (the count of
  // 16 x 16 cells in rows of COLUMNS) only those cells are compared: the
  // page leaves the rest of a grid's last row clear, runeplate-render white.
  async difference(a, b, { cells = 0, columns = 1 } = {}) {
    return this.page.evaluate((a, b, cells, columns) => {
      const [x, y] = [window.testPictures[a], window.testPictures[b]];
      if (x.width !== y.width || x.height !== y.height)
        return `sizes differ: ${x.width} x ${x.height} against ${y.width} x ${y.height}`;
      for (let i = 0; i < x.data.length; i++) {
        if (x.data[i] === y.data[i]) continue;
        const p = i >> 2, px = p % x.width, py = Math.floor(p / x.width);
        if (cells && Math.floor(py / 16) * columns + Math.floor(px / 16) >= cells) continue;
        return `pixel (${px}, ${py}) differs`;
      }
      return null;
    }, a, b, cells, columns);
  }

  // The 16 x 16 cells (indices, rows of COLUMNS) in which A and B differ.
  async changedCells(a, b, columns) {
    return this.page.evaluate((a, b, columns) => {
      const [x, y] = [window.testPictures[a], window.testPictures[b]];
      const cells = new Set();
      for (let i = 0; i < x.data.length; i += 4) {
        if (x.data[i] !== y.data[i] || x.data[i + 1] !== y.data[i + 1] || x.data[i + 2] !== y.data[i + 2]) {
          const p = i >> 2;
          cells.add(Math.floor(p / x.width / 16) * columns + Math.floor((p % x.width) / 16));
        }
      }
      return [...cells].sort((m, n) => m - n);
    }, a, b, columns);
  }

  // Clicks a control that makes the page download a file, and returns the
  // file the browser saved: { name, bytes }. The browser's download events
  // are gathered from the start: a small file can finish in the same breath
  // as it begins.
  async download(selector) {
    const count = this.begun.length;
    await this.page.click(selector);
    await until(() => this.begun.length > count, `no download began from ${selector}`);
    const { guid, suggestedFilename } = this.begun[count];
    await until(() => this.ended.has(guid), `the download of ${suggestedFilename} did not finish`);
    if (this.ended.get(guid) !== 'completed') throw new Error(`the download of ${suggestedFilename} was cancelled`);
    const path = join(this.downloads, guid);
    const bytes = readFileSync(path);
    rmSync(path);
    return { name: suggestedFilename, bytes };
  }

  // Opens a file through the page's file chooser (as a user picks one) and
  // waits for the page to say how it went.
  async openFont(path, { size = 0, ascii = null } = {}) {
    await this.tab('fonts');
    await this.setValue('#font-size', size);
    await this.chooseAscii(ascii);
    await this.settled(async () => {
      const input = await this.page.$('#font-file');
      await input.uploadFile(path);
    });
  }

  async chooseAscii(path) {
    if (path) await (await this.page.$('#ascii-file')).uploadFile(path);
    else await this.page.$eval('#ascii-file', (input) => { input.value = ''; });
  }

  // Runs ACTION, then waits until the status line says it is done (the page
  // ends a line with '…' while it works).
  async settled(action) {
    await this.page.$eval('#status', (status) => { status.textContent = ''; });
    await action();
    await this.page.waitForFunction(() => {
      const status = document.getElementById('status').textContent;
      return status && !status.endsWith('…');
    }, { timeout: 120000 });
  }

  // Drops bytes on the page as a file dragged from the desktop would be.
  async drop(name, bytesOrSize) {
    await this.settled(() => this.page.evaluate((fileName, b64, size) => {
      const bytes = b64 === null ? new Uint8Array(size) : Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      const transfer = new DataTransfer();
      transfer.items.add(new File([bytes], fileName));
      document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
    }, name, typeof bytesOrSize === 'number' ? null : Buffer.from(bytesOrSize).toString('base64'),
    typeof bytesOrSize === 'number' ? bytesOrSize : 0));
  }
}

async function until(condition, message, ms = 60000) {
  const end = Date.now() + ms;
  while (!condition()) {
    if (Date.now() > end) throw new Error(message);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

export function files(dir) {
  return existsSync(dir) ? readdirSync(dir).sort() : [];
}

export { join, basename, readFileSync };
