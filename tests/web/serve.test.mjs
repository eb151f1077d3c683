// The site's static server: it must never hand out a file outside the site,
// and must give the .wasm the type streaming compilation insists on.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { resolveRequest, serve } from '../../web/serve.mjs';

const root = '/srv/site';
const requests = [
  { url: '/', file: '/srv/site/index.html', fault: 'the folder itself not served as its index.html' },
  { url: '/fonts/round/', file: '/srv/site/fonts/round/index.html', fault: 'a subfolder not served as its index.html' },
  { url: '/runeplate.wasm?v=2#x', file: '/srv/site/runeplate.wasm', fault: 'a query or fragment taken as part of the name' },
  { url: '/%ED%95%9C.txt', file: '/srv/site/한.txt', fault: 'a percent-encoded UTF-8 name not decoded' },
  { url: '/../etc/passwd', file: '/srv/site/etc/passwd', fault: 'dot segments walking out of the site (URL parsing resolves them inside)' },
  { url: '/..%2f..%2fetc/passwd', file: null, fault: 'encoded slashes walking out of the site' },
  { url: '/%2e%2e/%2e%2e/etc/passwd', file: '/srv/site/etc/passwd', fault: 'encoded dots walking out of the site' },
  { url: '/a%00.html', file: null, fault: 'a NUL byte in a name' },
  { url: '/%E0%A4%A', file: null, fault: 'a malformed escape crashing the server' },
];

for (const row of requests) {
  test(`resolveRequest: ${row.fault}`, () => {
    assert.equal(resolveRequest(root, row.url), row.file);
  });
}

test('serve: the wasm\'s type, a missing file and a bad request answered, not crashed on', async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'runeplate-serve-test-'));
  fs.writeFileSync(path.join(dir, 'index.html'), '<!doctype html>');
  fs.writeFileSync(path.join(dir, 'runeplate.wasm'), Buffer.from([0, 0x61, 0x73, 0x6d]));
  const server = await serve(dir, 0);
  try {
    assert.match(server.url, /^http:\/\/127\.0\.0\.1:\d+\/$/);
    const rows = [
      ['', 200, 'text/html; charset=utf-8'],
      ['runeplate.wasm', 200, 'application/wasm'],
      ['missing.js', 404, 'text/plain; charset=utf-8'],
      ['..%2fsecret', 400, 'text/plain; charset=utf-8'],
    ];
    for (const [name, status, type] of rows) {
      const response = await fetch(server.url + name);
      assert.equal(response.status, status, name);
      assert.equal(response.headers.get('content-type'), type, name);
      await response.arrayBuffer();
    }
  } finally {
    await server.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
});
