// Runs the browser edition's tests in Debian's Chromium, headless: serves a build folder on localhost (a secure
// context, where the origin-private file system is), starts the tests in a dedicated worker there, prints their
// output and exits with their status.
// Usage: node run-tests.mjs FOLDER [TEST ARGUMENT...]
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, sep } from 'node:path';
import { chromium } from 'playwright-core';

const [folder, ...testArguments] = process.argv.slice(2);
if (!folder) {
  console.error('usage: node run-tests.mjs FOLDER [TEST ARGUMENT...]');
  process.exit(2);
}
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';
const timeoutMs = 15 * 60 * 1000;

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const page = '<!doctype html><meta charset="utf-8"><title>kelvrast tests</title>';

// Only files inside the folder are served, and only to this machine.
const server = createServer(async (request, response) => {
  const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  if (path === '/') {
    response.writeHead(200, { 'Content-Type': 'text/html' }).end(page);
    return;
  }
  const file = normalize(join(folder, path));
  if (!file.startsWith(normalize(folder) + sep)) {
    response.writeHead(403).end();
    return;
  }
  try {
    const bytes = await readFile(file);
    response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' }).end(bytes);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const origin = `http://127.0.0.1:${server.address().port}`;

const browser = await chromium.launch({ executablePath: browserPath, headless: true });
let status = 1;
try {
  const tab = await browser.newPage();
  tab.on('pageerror', (error) => console.error(`page error: ${error.message}`));
  let finished;
  const done = new Promise((resolve) => (finished = resolve));
  const counts = { passed: 0, failed: 0, skipped: 0 };
  await tab.exposeFunction('reportLine', (line) => {
    console.log(line);
    const ended = /^\[ +(OK|FAILED|SKIPPED) +\] .* \(\d+ ms\)$/.exec(line);
    if (ended) counts[{ OK: 'passed', FAILED: 'failed', SKIPPED: 'skipped' }[ended[1]]] += 1;
  });
  await tab.exposeFunction('reportStatus', (code) => finished(code));
  await tab.goto(`${origin}/`);
  await tab.evaluate((args) => {
    const worker = new Worker(`test-worker.js?${encodeURIComponent(JSON.stringify(args))}`);
    worker.onmessage = ({ data }) => ('line' in data ? reportLine(data.line) : reportStatus(data.status));
    worker.onerror = (event) => {
      reportLine(`worker error: ${event.message}`);
      reportStatus(1);
    };
  }, testArguments);
  const timer = setTimeout(() => {
    console.error(`the tests did not finish within ${timeoutMs / 60000} minutes`);
    finished(1);
  }, timeoutMs);
  status = await done;
  clearTimeout(timer);
  console.log(`browser: ${counts.passed} passed, ${counts.failed} failed, ${counts.skipped} skipped`);
  if (status === 0 && (counts.failed > 0 || counts.passed === 0)) status = 1;
} finally {
  await browser.close();
  server.close();
}
process.exit(status);
