// A static file server for the studio's site, on 127.0.0.1 only: what
// scripts/studio runs and what the browser tests serve the site with.
//   node web/serve.mjs [DIR] [PORT]   prints the address, serves until ended
// DIR defaults to build/web/site, PORT to 0 (any free port).
import http from 'node:http';
import fs from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const Types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.bmp': 'image/bmp',
  '.json': 'application/json',
  '.txt': 'text/plain; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
};

// The file a request names inside `root`, or null when it would leave it.
export function resolveRequest(root, url) {
  let name;
  try {
    name = decodeURIComponent(new URL(url, 'http://127.0.0.1').pathname);
  } catch {
    return null;
  }
  if (name.includes('\0')) return null;
  if (name.endsWith('/')) name += 'index.html';
  const file = path.resolve(root, '.' + name);
  const base = path.resolve(root);
  return file === base || file.startsWith(base + path.sep) ? file : null;
}

// Serves `dir` on 127.0.0.1:`port` (0: any free port); resolves to the
// address ("http://127.0.0.1:PORT/") and a close() that stops the server.
export function serve(dir, port = 0) {
  const root = path.resolve(dir);
  const server = http.createServer(async (request, response) => {
    const file = request.method === 'GET' || request.method === 'HEAD' ? resolveRequest(root, request.url) : null;
    let body = null;
    if (file !== null) {
      try {
        if ((await fs.stat(file)).isFile()) body = await fs.readFile(file);
      } catch {
        body = null;
      }
    }
    if (body === null) {
      response.writeHead(file === null ? 400 : 404, { 'Content-Type': 'text/plain; charset=utf-8' });
      response.end(file === null ? 'bad request\n' : 'not found\n');
      return;
    }
    // Nothing is cached: an edited build shows at the next reload.
    response.writeHead(200, {
      'Content-Type': Types[path.extname(file).toLowerCase()] ?? 'application/octet-stream',
      'Content-Length': body.length,
      'Cache-Control': 'no-store',
      'X-Content-Type-Options': 'nosniff',
    });
    response.end(request.method === 'HEAD' ? undefined : body);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      const { port: bound } = server.address();
      resolve({
        url: `http://127.0.0.1:${bound}/`,
        close: () => new Promise((done) => server.close(() => done())),
      });
    });
  });
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const here = path.dirname(fileURLToPath(import.meta.url));
  const dir = process.argv[2] ?? path.join(here, '..', 'build', 'web', 'site');
  const port = Number(process.argv[3] ?? 0);
  if (!Number.isInteger(port) || port < 0 || port > 65535) {
    console.error(`serve.mjs: the port wants a number 0 to 65535, not '${process.argv[3]}'`);
    process.exit(2);
  }
  try {
    if (!(await fs.stat(dir)).isDirectory()) throw new Error('not a folder');
  } catch {
    console.error(`serve.mjs: ${dir}: no site there (build it: cmake --build --preset web)`);
    process.exit(2);
  }
  serve(dir, port).then(
    ({ url }) => console.log(url),
    (error) => {
      console.error(`serve.mjs: cannot listen on 127.0.0.1:${port}: ${error.message}`);
      process.exit(2);
    });
}
