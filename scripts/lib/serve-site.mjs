// Serves a folder of static files to this machine only (127.0.0.1), with the types a browser needs for the site;
// nothing outside the folder. Used by scripts/web.sh, and importable by the browser tests and benchmarks.
// Usage: node serve-site.mjs FOLDER [PORT]
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.woff2': 'font/woff2',
  '.txt': 'text/plain; charset=utf-8',
};

// A server for the folder, not yet listening; rewrite(path, bytes) may change what is served.
export function siteServer(folder, rewrite = (path, bytes) => bytes) {
  const root = normalize(folder);
  return createServer(async (request, response) => {
    let path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (path.endsWith('/')) path += 'index.html';
    const file = normalize(join(root, path));
    if (!file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const bytes = rewrite(path, await readFile(file));
      response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' }).end(bytes);
    } catch {
      response.writeHead(404).end();
    }
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8080'] = process.argv.slice(2);
  const server = siteServer(folder);
  server.on('error', (error) => {
    console.error(`Cannot serve on port ${port}: ${error.message}`);
    process.exit(1);
  });
  server.listen(Number(port), '127.0.0.1', () =>
    console.log(`The program is at http://localhost:${port}/ (Ctrl+C stops the server).`));
}
