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
export async function tool(name, args, dir = scratch) {
  const { stdout } = await run(tools[name], args, { cwd: dir, maxBuffer: 64 << 20 });
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
    await this.page.waitForSelector('body[data-ready=true]');
  }

  async close() {
    await this.browser?.close();
    await this.server?.close();
    rmSync(this.profile, { recursive: true, force: true });
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

  // The RGBA bytes of a canvas at its own size, as base64.
  async canvas(selector) {
    return this.page.$eval(selector, (canvas) => {
      const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
      let s = '';
      for (let i = 0; i < data.length; i += 0x8000) s += String.fromCharCode(...data.subarray(i, i + 0x8000));
      return { width: canvas.width, height: canvas.height, rgba: btoa(s) };
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
      const { data } = ctx.getImageData(0, 0, bitmap.width, bitmap.height);
      let s = '';
      for (let i = 0; i < data.length; i += 0x8000) s += String.fromCharCode(...data.subarray(i, i + 0x8000));
      return { width: bitmap.width, height: bitmap.height, rgba: btoa(s) };
    }, Buffer.from(bytes).toString('base64'));
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

// Where two RGBA pictures first differ, or null when they are equal.
export function firstDifference(a, b) {
  if (a.width !== b.width || a.height !== b.height)
    return `sizes differ: ${a.width} x ${a.height} against ${b.width} x ${b.height}`;
  const x = Buffer.from(a.rgba, 'base64'), y = Buffer.from(b.rgba, 'base64');
  for (let i = 0; i < x.length; i++) {
    if (x[i] !== y[i]) {
      const p = i >> 2;
      return `pixel (${p % a.width}, ${Math.floor(p / a.width)}) differs`;
    }
  }
  return null;
}

// The 16 x 16 cells (as indices, row by row of COLUMNS) where two pictures differ.
export function differingCells(a, b, columns) {
  const x = Buffer.from(a.rgba, 'base64'), y = Buffer.from(b.rgba, 'base64');
  const cells = new Set();
  for (let i = 0; i < x.length; i += 4) {
    if (x[i] !== y[i] || x[i + 1] !== y[i + 1] || x[i + 2] !== y[i + 2]) {
      const p = i >> 2;
      cells.add(Math.floor(p / a.width / 16) * columns + Math.floor((p % a.width) / 16));
    }
  }
  return [...cells].sort((m, n) => m - n);
}

export function files(dir) {
  return existsSync(dir) ? readdirSync(dir).sort() : [];
}

export { join, basename, readFileSync };
