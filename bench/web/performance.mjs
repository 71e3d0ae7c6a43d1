// The browser edition's figures, each side by side with the least a page does for the same, in Debian's Chromium,
// headless, on a localhost server of its own:
//   1. page load to the name prompt: the site against bare-dialog.html, the same dialog shown at once; each run in a
//      fresh browser context (empty HTTP cache and origin-private file system), service workers blocked in both;
//   2. one Enter Response: from the click to the page's data-handled growing, against bare-append.html, whose worker
//      writes and flushes two blocks of the sizes the site's answer added to its files, and the same click and round
//      trip with no writes, the floor of both; on a profile on the disk, so that every flush() reaches it;
//   3. the site's size, file by file.
// Times are taken by the page's own clock, by the same code on both sides; runs interleaved, medians. It fails only
// when a figure cannot be taken.
// Usage: node performance.mjs SITE_FOLDER BENCH_FOLDER [--runs N]   (PERF_RUNS also sets N; 15 by default)
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { mkdtemp, readFile, readdir, rm, stat } from 'node:fs/promises';
import { join, relative } from 'node:path';
import { gzipSync } from 'node:zlib';
import { siteServer } from '../../scripts/lib/serve-site.mjs';

// playwright-core as the browser tests pin it.
const require = createRequire(new URL('../../tests/web/package.json', import.meta.url));
const { chromium } = require('playwright-core');

const usage = 'usage: node performance.mjs SITE_FOLDER BENCH_FOLDER [--runs N]';
const [siteFolder, benchFolder, ...options] = process.argv.slice(2);
let runs = Number(process.env.PERF_RUNS || 15);
for (let i = 0; i < options.length; ++i) {
  if (options[i] === '--runs' && i + 1 < options.length) runs = Number(options[++i]);
  else {
    console.error(usage);
    process.exit(2);
  }
}
if (!siteFolder || !benchFolder || !Number.isInteger(runs) || runs < 1) {
  console.error(usage);
  process.exit(2);
}
const warmups = 2;
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';
const stepTimeoutMs = 60 * 1000;
// Longer than the draft timer's interval (DraftKeeper::timerMilliseconds): a page that handled nothing for this
// long has stopped its timer.
const quietMs = 500;

// The site at the root and the bare pages under /bench/, on one origin, so that the bare dialog page loads the site's
// style sheet and font as the site does; each folder served as scripts/lib/serve-site.mjs serves the site.
const serveSite = siteServer(siteFolder).listeners('request')[0];
const serveBench = siteServer(benchFolder).listeners('request')[0];
const server = createServer((request, response) => {
  if (!request.url.startsWith('/bench/')) return serveSite(request, response);
  request.url = request.url.slice('/bench'.length);
  return serveBench(request, response);
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const origin = `http://127.0.0.1:${server.address().port}`;
const siteUrl = `${origin}/`;
const bareDialogUrl = `${origin}/bench/bare-dialog.html`;
const bareAppendUrl = `${origin}/bench/bare-append.html`;

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const summary = (values) => ({ median: median(values), low: Math.min(...values), high: Math.max(...values) });

// Notes the page's clock (from the navigation's start) when a dialog first gets its open attribute, as showModal()
// gives it. Runs before any of the page's own scripts.
function notePromptOpening() {
  new MutationObserver((changes, observer) => {
    for (const change of changes)
      if (change.target.localName === 'dialog' && change.target.hasAttribute('open')) {
        window.promptOpenedAt = performance.now();
        observer.disconnect();
        return;
      }
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['open'] });
}

// One load of the page in a context of its own, or in the given one (whose cache earlier loads filled).
async function promptOpening(browser, url, kept) {
  const context = kept || (await browser.newContext({ serviceWorkers: 'block' }));
  try {
    if (!kept) await context.addInitScript(notePromptOpening);
    const tab = await context.newPage();
    const errors = [];
    tab.on('pageerror', (error) => errors.push(error.message));
    await tab.goto(url, { waitUntil: 'commit' });
    try {
      await tab.waitForFunction(() => window.promptOpenedAt !== undefined, null, { timeout: stepTimeoutMs });
    } catch (error) {
      throw new Error(`${url}: no dialog opened (${errors.join('; ') || error.message})`);
    }
    const opening = await tab.evaluate(() => ({
      opened: window.promptOpenedAt,
      parsed: performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd,
    }));
    await tab.close();
    return opening;
  } finally {
    if (!kept) await context.close();
  }
}

// Cold: a fresh context a run, nothing cached. Warm: one context a side for every run, as for a student who comes
// back: the browser's cache holds the files and the compiled program.
async function measureLoad(browser, warm) {
  const times = { site: [], bare: [] };
  const contexts = {};
  if (warm)
    for (const side of ['site', 'bare']) {
      contexts[side] = await browser.newContext({ serviceWorkers: 'block' });
      await contexts[side].addInitScript(notePromptOpening);
    }
  try {
    for (let run = 0; run < warmups + runs; ++run) {
      // Each side goes first every other run.
      for (const side of run % 2 ? ['bare', 'site'] : ['site', 'bare']) {
        const opening = await promptOpening(browser, side === 'site' ? siteUrl : bareDialogUrl, contexts[side]);
        if (run >= warmups) times[side].push(opening);
      }
    }
  } finally {
    for (const context of Object.values(contexts)) await context.close();
  }
  const of = (side, what) => summary(times[side].map((opening) => opening[what]));
  return {
    site: of('site', 'opened'),
    bare: of('bare', 'opened'),
    siteParsed: of('site', 'parsed'),
    bareParsed: of('bare', 'parsed'),
  };
}

// The size of every file in the site's working folder of the origin-private file system.
function workingFileSizes() {
  return (async () => {
    const root = await navigator.storage.getDirectory();
    let folder;
    try {
      folder = await root.getDirectoryHandle('kelvrast');
    } catch {
      return {};
    }
    const sizes = {};
    for await (const handle of folder.values())
      if (handle.kind === 'file') sizes[handle.name] = (await handle.getFile()).size;
    return sizes;
  })();
}

// Clicks Enter Response, a real click in the foreground tab (a tab behind it gets its messages late), and gives the
// time from the click, as the page's first listener sees it, to the moment data-handled changes. The same code times
// both pages.
async function timedEnterResponse(tab) {
  await tab.bringToFront();
  await tab.evaluate(() => {
    const before = Number(document.body.dataset.handled);
    window.answered = new Promise((resolve) => {
      let clickedAt;
      addEventListener('click', () => (clickedAt = performance.now()), { capture: true, once: true });
      new MutationObserver((changes, observer) => {
        const handled = Number(document.body.dataset.handled);
        if (handled === before) return;
        observer.disconnect();
        resolve({ ms: performance.now() - clickedAt, events: handled - before });
      }).observe(document.body, { attributes: true, attributeFilter: ['data-handled'] });
    });
  });
  await tab.click('#cmd_enter_response');
  const answered = await tab.evaluate(() => window.answered);
  // Any other event would have been timed in the click's place.
  if (answered.events !== 1) throw new Error(`${tab.url()}: ${answered.events} events handled at the click, not 1`);
  return answered.ms;
}

const state = (tab, value) =>
  tab.waitForFunction((wanted) => document.body.dataset.state === wanted, value, { timeout: stepTimeoutMs });

// Waits until the page has handled no event for this long, so that a timer of its own does not run into a click.
async function quiet(tab, ms) {
  for (;;) {
    const before = await tab.evaluate(() => document.body.dataset.handled);
    await tab.waitForTimeout(ms);
    if ((await tab.evaluate(() => document.body.dataset.handled)) === before) return;
  }
}

// The site, past the name prompt, with the first question up.
async function startSite(context) {
  const tab = await context.newPage();
  tab.on('pageerror', (error) => console.error(`site: page error: ${error.message}`));
  await tab.goto(siteUrl);
  await tab.waitForSelector('#dialog[open]', { timeout: stepTimeoutMs });
  await tab.fill('#dialog_input', 'ann example');
  await tab.click('#dialog_first');
  await state(tab, 'running');
  await tab.click('#cmdNextQuestion');
  await quiet(tab, quietMs);
  return tab;
}

async function measureEnterResponse(browser) {
  const site = await startSite(browser);
  const bare = await browser.newPage();
  await bare.goto(bareAppendUrl);
  await state(bare, 'running');

  const times = { site: [], bare: [], roundTrip: [] };
  let blocks;
  for (let run = 0; run < warmups + runs; ++run) {
    await site.fill('#txt_answer', `An answer of a few words, the ${run + 1}. of this run.`);
    await quiet(site, quietMs);
    const before = await site.evaluate(workingFileSizes);
    const siteMs = await timedEnterResponse(site);
    const after = await site.evaluate(workingFileSizes);
    const grown = Object.keys(after)
      .filter((name) => after[name] !== (before[name] ?? 0))
      .sort((a, b) => (b.startsWith('masterFile') ? 1 : 0) - (a.startsWith('masterFile') ? 1 : 0));
    if (grown.length !== 2)
      throw new Error(`an Enter Response changed ${grown.length} files, not 2: ${JSON.stringify({ before, after })}`);
    blocks = grown.map((name) => ({ name, bytes: after[name] - (before[name] ?? 0) }));
    await bare.evaluate((sizes) => (window.blockSizes = sizes), blocks.map((block) => block.bytes));
    const bareMs = await timedEnterResponse(bare);
    await bare.evaluate(() => (window.blockSizes = []));
    const roundTripMs = await timedEnterResponse(bare);
    if (run >= warmups) {
      times.site.push(siteMs);
      times.bare.push(bareMs);
      times.roundTrip.push(roundTripMs);
    }
  }
  return { site: summary(times.site), bare: summary(times.bare), roundTrip: summary(times.roundTrip), blocks };
}

async function siteFiles(folder) {
  const files = [];
  for (const entry of await readdir(folder, { recursive: true, withFileTypes: true })) {
    if (!entry.isFile()) continue;
    const path = join(entry.parentPath ?? entry.path, entry.name);
    const bytes = (await stat(path)).size;
    files.push({ name: relative(folder, path), bytes, gzipped: gzipSync(await readFile(path), { level: 9 }).length });
  }
  return files.sort((a, b) => b.bytes - a.bytes);
}

const ms = (value) => `${value.toFixed(1)} ms`;
const range = (figure) => `${ms(figure.median)} (${figure.low.toFixed(1)}-${figure.high.toFixed(1)})`;
const mib = (bytes) => `${(bytes / 1048576).toFixed(2)} MiB`;
const row = (cells, widths) => cells.map((cell, i) => String(cell).padEnd(widths[i])).join('  ').trimEnd();

let status = 1;
const profile = await mkdtemp(join(siteFolder, '..', 'performance-profile-'));
try {
  const browser = await chromium.launch({ executablePath: browserPath, headless: true });
  const version = browser.version();
  let load;
  try {
    console.log(`== page load to the name prompt: ${runs} runs each after ${warmups} warm-up runs, interleaved`);
    load = await measureLoad(browser, false);
    console.log(`== the same with the browser's cache kept between runs`);
    load.warm = await measureLoad(browser, true);
  } finally {
    await browser.close();
  }
  // A profile on the disk, where the origin-private file system's flush() waits for it, as in a student's browser.
  const onDisk = await chromium.launchPersistentContext(profile, {
    executablePath: browserPath,
    headless: true,
    serviceWorkers: 'block',
  });
  let answer;
  try {
    console.log(`== one Enter Response: ${runs} answers each after ${warmups} warm-up answers, interleaved`);
    answer = await measureEnterResponse(onDisk);
  } finally {
    await onDisk.close();
  }
  const files = await siteFiles(siteFolder);
  const total = files.reduce((sum, file) => sum + file.bytes, 0);
  const gzipped = files.reduce((sum, file) => sum + file.gzipped, 0);

  const widths = [34, 24, 42, 7, 14];
  console.log();
  console.log(`Chromium ${version}, headless`);
  console.log(row(['Figure', 'Site', 'Compared with', 'Ratio', 'Target'], widths));
  console.log(
    row(
      [
        'Page load to the name prompt',
        range(load.site),
        `bare dialog page: ${range(load.bare)}`,
        `${(load.site.median / load.bare.median).toFixed(2)}x`,
        'within 1.5x',
      ],
      widths,
    ),
  );
  console.log(
    row(['  page parsed (DOMContentLoaded)', range(load.siteParsed), `bare dialog page: ${range(load.bareParsed)}`],
      widths),
  );
  console.log(
    row(
      [
        '  again, the cache kept',
        range(load.warm.site),
        `bare dialog page: ${range(load.warm.bare)}`,
        `${(load.warm.site.median / load.warm.bare.median).toFixed(2)}x`,
        'within 1.5x',
      ],
      widths,
    ),
  );
  console.log(
    row(
      [
        'One Enter Response',
        range(answer.site),
        `two bare write+flush: ${range(answer.bare)}`,
        `${(answer.site.median / answer.bare.median).toFixed(2)}x`,
        'within 2x',
      ],
      widths,
    ),
  );
  console.log(row(['  the click and round trip alone', '', `bare, no writes: ${range(answer.roundTrip)}`], widths));
  console.log(row(['Site size', mib(total), `${total} bytes; ${mib(gzipped)} gzipped`, '', 'under 2 MiB'], widths));
  console.log();
  console.log(`Medians of ${runs} runs (fastest-slowest), each by the page's own clock. Page load: a fresh browser`);
  console.log('context a run (again: one a side, its cache kept), service workers blocked in both. Enter Response:');
  console.log('a profile on the disk; the last answer');
  console.log(`appended ${answer.blocks.map((block) => `${block.bytes} bytes to ${block.name}`).join(' and ')}.`);
  console.log();
  console.log(row(['Site file', 'Bytes', 'Gzipped'], [28, 10, 10]));
  for (const file of files) console.log(row([file.name, file.bytes, file.gzipped], [28, 10, 10]));
  status = 0;
} catch (error) {
  console.error(`could not measure: ${error.message}`);
} finally {
  server.close();
  await rm(profile, { recursive: true, force: true });
}
process.exit(status);
