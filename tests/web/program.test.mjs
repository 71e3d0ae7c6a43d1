// The browser edition's page as a student meets it, in Debian's Chromium, headless: the whole assignment against the
// same-bytes files, answers kept through a kill, two tabs of one student, a start with no server, the download, and
// the form's names for a screen reader. The site is served on one port for the whole run, so that the origin, and
// with it the origin-private file system and the service worker, stays the same across restarts of the browser.
// Usage: node program.test.mjs [SITE FOLDER]  (build-web/site by default)
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtemp, readFile, readdir, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { siteServer } from '../../scripts/lib/serve-site.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, '..', '..');
const site = process.argv[2] || join(root, 'build-web', 'site');
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';
const timeout = 180_000;

// The worker's clock for the walk held to the same bytes: the core's Date stands still at the time the test gives
// and moves only when the page says so over a BroadcastChannel, which it answers once moved.
let clockStart = null;
const clockPreamble = (start) => `(() => {
  const SystemDate = Date;
  let now = ${start};
  self.Date = class extends SystemDate {
    constructor(...given) { super(...(given.length ? given : [now])); }
    static now() { return now; }
  };
  const channel = new BroadcastChannel('kelvrast-test-clock');
  channel.onmessage = ({ data }) => { now = data; channel.postMessage(now); };
})();
`;
const server = siteServer(site, (path, bytes) =>
  path === '/kelvrast-core.js' && clockStart !== null
    ? Buffer.concat([Buffer.from(clockPreamble(clockStart)), bytes]) : bytes);
let origin;
const profiles = [];

before(async () => {
  await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
  origin = `http://127.0.0.1:${server.address().port}/`;
});
after(async () => {
  server.closeAllConnections();
  server.close();
  for (const profile of profiles) await rm(profile, { recursive: true, force: true });
});

async function newProfile() {
  profiles.push(await mkdtemp(join(tmpdir(), 'kelvrast-profile-')));
  return profiles.at(-1);
}

// Chromium on a profile, in a process group of its own, so that a kill takes every process of it at once.
async function startBrowser(profile) {
  const child = spawn(browserPath, ['--headless=new', '--no-sandbox', '--remote-debugging-port=0',
    `--user-data-dir=${profile}`, '--no-first-run', '--no-default-browser-check', 'about:blank'],
  { detached: true, stdio: ['ignore', 'ignore', 'pipe'], env: { ...process.env, TZ: 'UTC' } });
  const address = await new Promise((found, failed) => {
    let said = '';
    child.stderr.on('data', (chunk) => {
      said += chunk;
      const listening = /DevTools listening on (ws:\S+)/.exec(said);
      if (listening) found(listening[1]);
    });
    child.on('exit', (code) => failed(new Error(`Chromium ended (${code}) before it listened:\n${said}`)));
  });
  const browser = await chromium.connectOverCDP(address).catch((error) => {
    process.kill(-child.pid, 'SIGKILL');
    throw error;
  });
  const context = browser.contexts()[0];
  const cdp = await browser.newBrowserCDPSession();
  const gone = async () => {
    for (;;) {
      try {
        process.kill(-child.pid, 0);
      } catch {
        return;
      }
      await new Promise((later) => setTimeout(later, 20));
    }
  };
  return {
    // A page in a window of its own: a tab behind another is hidden, and a hidden page draws no frames.
    newPage: async () => (await Promise.all([context.waitForEvent('page'),
      cdp.send('Target.createTarget', { url: 'about:blank', newWindow: true })]))[0],
    kill: async () => {
      try {
        process.kill(-child.pid, 'SIGKILL');
      } catch {
        // gone already
      }
      await gone();
    },
    // As a student closes it: the browser first writes what it keeps, the service worker's registration among it.
    close: async () => {
      await cdp.send('Browser.close');
      await gone();
    },
  };
}

// OK, the first answer, as Enter gives it; the page keeps what it was told.
async function answerDialog(page) {
  page.told.push(await page.locator('#dialog_text').textContent());
  await page.keyboard.press('Enter');
}

// Waits until the page shows what `until` asks, answering every dialog on the way. A refusal to record ends the click
// it came from, once the count of handled events grows.
async function waitAnswering(page, until) {
  for (;;) {
    const seen = await page.waitForFunction((until) => {
      const handled = Number(document.body.dataset.handled);
      const dialog = document.getElementById('dialog');
      if (dialog.open) return { dialog: document.getElementById('dialog_text').textContent, handled };
      const [question, answer] = ['txt_question', 'txt_answer'].map((id) => document.getElementById(id)?.value);
      const holds = (until.handledAbove === undefined || handled > until.handledAbove) &&
        (until.state === undefined || document.body.dataset.state === until.state) &&
        (!until.boxesEmpty || question + answer === '') &&
        (until.questionIsNot === undefined || question !== until.questionIsNot);
      return holds && { handled };
    }, until, { timeout: 60_000 });
    const { dialog, handled } = await seen.jsonValue();
    if (dialog === undefined) return;
    await answerDialog(page);
    if (/was not recorded/.test(dialog)) until = { handledAbove: handled };
  }
}

async function openPage(browser) {
  const page = await browser.newPage();
  page.told = [];
  page.on('pageerror', (error) => console.error(`page error: ${error.message}`));
  await page.goto(origin);
  await page.locator('#dialog_input').waitFor();
  return page;
}
async function giveName(page, name) {
  await page.locator('#dialog_input').fill(name);
  await page.click('#dialog_first');
  await waitAnswering(page, { state: 'running' });
  return page;
}
async function openProgram(browser, name) {
  const page = await giveName(await openPage(browser), name);
  // A message that a timer's tick brings up stands in the way of the next action: it is answered first.
  await page.addLocatorHandler(page.locator('#dialog'), () => answerDialog(page), { noWaitAfter: true });
  return page;
}

// A click of the form's control, done once the program has handled it and its effect shows.
async function click(page, id, effect) {
  const handledAbove = Number(await page.evaluate(() => document.body.dataset.handled));
  await page.click(`#${id}`);
  await waitAnswering(page, { handledAbove, ...effect });
}
const nextQuestion = async (page) =>
  click(page, 'cmdNextQuestion', { questionIsNot: await page.inputValue('#txt_question') });
// Recorded, the entry and the answer leave both boxes. Gives what the page was told on the way.
async function record(page, text, id = 'cmd_enter_response') {
  const before = page.told.length;
  await page.fill('#txt_answer', text);
  await click(page, id, { boxesEmpty: true });
  return page.told.slice(before);
}

// The worker's clock to this time, once the worker says it has moved.
async function moveClock(page, time) {
  await page.evaluate(async (time) => {
    const channel = new BroadcastChannel('kelvrast-test-clock');
    const moved = new Promise((done) => (channel.onmessage = done));
    channel.postMessage(time);
    await moved;
    channel.close();
  }, time);
}

// The files of the working folder in the origin-private file system, by name.
async function storedFiles(page) {
  const files = await page.evaluate(async () => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('kelvrast');
    const found = {};
    for await (const [name, entry] of folder.entries())
      if (entry.kind === 'file') found[name] = [...new Uint8Array(await (await entry.getFile()).arrayBuffer())];
    return found;
  });
  return Object.fromEntries(Object.entries(files).map(([name, bytes]) => [name, Buffer.from(bytes)]));
}

// A master or SEND file as its blocks: headers, and records with their answer. A torn or stray line fails.
function answerBlocks(bytes, master) {
  const opener = '......!!!!!!!!...................................';
  const closer = '.................................................';
  const text = bytes.toString('latin1');
  assert.ok(text.endsWith('\r\n'), 'the file ends partway through a line');
  const lines = text.slice(0, -2).split('\r\n');
  const blocks = [];
  for (let at = 0; at < lines.length;) {
    if (/^assignment #\d{3}$/.test(lines[at + 1] ?? '') && lines[at + 3] === 'qa fenwick') {
      blocks.push({ header: true });
      at += 4;
      continue;
    }
    assert.ok(lines[at] === opener && /^ {36}\d\d:\d\d:\d\d$/.test(lines[at + 1] ?? ''), `line ${at + 1}: no block`);
    const notes = /^ {36}\d\d-\d\d-\d{4}\d\d:\d\d:\d\d$/.test(lines[at + 2]);
    if (master && !notes) assert.match(lines[at + 2], /^`questionNumber -?\d+ $/, `line ${at + 3}: no key line`);
    let marker = at + 2;
    while (marker < lines.length && !(lines[marker] === opener &&
      (notes ? lines[marker + 1]?.startsWith('NOTES -------> ') : lines[marker + 1] === 'RESPONSE -->  '))) ++marker;
    let end = marker + 2;
    while (end < lines.length && !(lines[end] === closer &&
      (end + 1 === lines.length || lines[end + 1] === opener || /^assignment #/.test(lines[end + 2] ?? '')))) ++end;
    assert.ok(end < lines.length, `the block at line ${at + 1} is cut short`);
    blocks.push({ answer: lines.slice(notes ? marker + 1 : marker + 2, end).join('\r\n') });
    at = end + 1;
  }
  return blocks;
}
const timesRecorded = (blocks, answer) => blocks.filter((block) => block.answer === answer).length;

// The student's master and SEND files hold whole blocks only, and each of these answers once; gives their blocks.
async function assertRecordedOnce(page, answers) {
  const files = await storedFiles(page);
  const named = (start) => files[Object.keys(files).find((name) => name.startsWith(start))];
  const master = answerBlocks(named('masterFile_'), true);
  const send = answerBlocks(named('send_'), false);
  for (const answer of answers) {
    assert.equal(timesRecorded(master, answer), 1, `${answer} in the master file`);
    assert.equal(timesRecorded(send, answer), 1, `${answer} in the SEND file`);
  }
  return { master, send };
}

test('the whole assignment walked through the page writes the same bytes as every system', { timeout }, async (t) => {
  clockStart = Date.UTC(2027, 0, 7, 14, 5, 9);
  const browser = await startBrowser(await newProfile());
  try {
    const page = await openProgram(browser, 'Zoë Brontë');
    await nextQuestion(page);
    await record(page, 'four');
    await nextQuestion(page);
    await record(page, 'check the units first', 'cmd_save_as_notes');
    await moveClock(page, Date.UTC(2027, 0, 7, 14, 7, 30));
    await record(page, 'the café\nand the second line');
    await nextQuestion(page);
    await record(page, '');

    const stored = await storedFiles(page);
    const expectedFolder = join(root, 'tests', 'flow', 'same_files');
    const expected = await readdir(expectedFolder);
    assert.deepEqual(Object.keys(stored).sort(), expected.sort());
    // The working folder, named in an entry, as the Windows program names its own.
    for (const name of expected)
      assert.equal(stored[name].toString('latin1').replaceAll('/kelvrast', 'c:\\kelvrast'),
        (await readFile(join(expectedFolder, name))).toString('latin1'), name);

    await t.test('the SEND file downloads byte for byte as stored, under its own name', async () => {
      const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download_send')]);
      assert.equal(download.suggestedFilename(), 'send_0107Zoë_Brontë.txt');
      assert.deepEqual(await readFile(await download.path()), stored['send_0107Zoë_Brontë.txt']);
    });
  } finally {
    clockStart = null;
    await browser.kill();
  }
});

test('every answer acknowledged before the browser is killed is in the master and SEND files, in whole blocks',
  { timeout }, async () => {
    const profile = await newProfile();
    let browser = await startBrowser(profile);
    const acknowledged = ['the first answer', 'the second answer', 'the third answer'];
    const cutShort = 'killed while it was being recorded';
    try {
      let page = await openProgram(browser, 'Kim Lee');
      for (const answer of acknowledged) {
        await nextQuestion(page);
        await record(page, answer);
      }
      await nextQuestion(page);
      await page.fill('#txt_answer', cutShort);
      await page.click('#cmd_enter_response');
      await browser.kill();

      browser = await startBrowser(profile);
      page = await openProgram(browser, 'Kim Lee'); // start-up mends what the kill left
      const { master, send } = await assertRecordedOnce(page, acknowledged);
      assert.ok(timesRecorded(master, cutShort) <= 1);
      assert.equal(timesRecorded(send, cutShort), timesRecorded(master, cutShort), 'the files disagree');
    } finally {
      await browser.kill();
    }
  });

test('two tabs of one student recording at once keep every answer once and whole, or say the file is in use',
  { timeout }, async () => {
    const browser = await startBrowser(await newProfile());
    try {
      const tabs = [await openProgram(browser, 'Ann Twice'), await openProgram(browser, 'Ann Twice')];
      const answers = [];
      for (let round = 1; round <= 3; ++round) {
        await Promise.all(tabs.map((tab) => nextQuestion(tab)));
        await Promise.all(tabs.map(async (tab, index) => {
          const answer = `tab ${index + 1}, answer ${round}`;
          answers.push(answer);
          // Refused while the other tab holds a file, the student clicks again.
          while ((await record(tab, answer)).some((text) => /was not recorded/.test(text)));
        }));
      }
      for (const text of tabs.flatMap((tab) => tab.told)) assert.match(text, /using it/, 'told of no file in use');
      await assertRecordedOnce(tabs[0], answers);
    } finally {
      await browser.kill();
    }
  });

// The form's table: each control's spoken name (its caption, or the name it has for a screen reader).
const spokenNames = {
  txt_question: 'Question box', txt_answer: 'Answer box', cmdNextQuestion: 'Next Question / Answer',
  cmd_enter_response: 'Enter Response', cmd_save_as_notes: 'Save as Notes', cmd_clear: 'Clear',
  cmd_display_note_file: 'display notes', cmd_displayCumulativeText: 'display SEND file', cmd_quit: 'quit program',
  cmd_pend_exp: 'pend exp', cmd_timerTrigger: 'Trigger Timer', cmd_Make_Paragraph_question: 'Make Paragraph',
  Picture1: 'Picture 1', Picture2: 'Picture 2', List1: 'List', opt_stop_at_periods: 'Stop at Sentences',
  op_stop_at_paragraphs: 'Stop at Paragraphs',
};
for (let index = 0; index < 4; ++index)
  spokenNames[`txt_parameter_${index}`] = spokenNames[`lbl_parameter_${index}`] = `Parameter ${index + 1}`;

async function axeViolations(page) {
  await page.evaluate(await readFile(join(here, 'node_modules', 'axe-core', 'axe.min.js'), 'utf8'));
  const { violations } = await page.evaluate(() => axe.run(document, { resultTypes: ['violations'] }));
  return violations.map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target).join(', ')}`);
}

test('a screen reader hears each control by its name in the form; axe finds no violation', { timeout }, async () => {
  const browser = await startBrowser(await newProfile());
  try {
    const page = await openPage(browser);
    assert.deepEqual(await axeViolations(page), [], 'with the name prompt up');
    await giveName(page, 'Axel Reader');
    assert.deepEqual(await axeViolations(page), [], 'with the form up');

    // What a screen reader says for each control: its accessible name, or a label's own text.
    const cdp = await page.context().newCDPSession(page);
    const { root: top } = await cdp.send('DOM.getDocument');
    const heard = {};
    for (const id of Object.keys(spokenNames)) {
      const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: top.nodeId, selector: `#${id}` });
      if (!nodeId) continue;
      const [own, ...relatives] = (await cdp.send('Accessibility.getPartialAXTree', { nodeId })).nodes;
      heard[id] = own.name?.value ||
        relatives.filter((node) => own.childIds.includes(node.nodeId)).map((node) => node.name?.value).join('');
    }
    assert.deepEqual(heard, spokenNames);
    const made = await page.evaluate(() => [...document.querySelectorAll('#form [id]')].map((control) => control.id));
    assert.deepEqual(made.sort(), [...Object.keys(spokenNames), 'tmr_pend_exp'].sort(), 'the form has other controls');
  } finally {
    await browser.kill();
  }
});

// Last: it stops the server.
test('once opened, the page comes up to the name prompt with the server stopped', { timeout }, async () => {
  const profile = await newProfile();
  let browser = await startBrowser(profile);
  try {
    const page = await openPage(browser);
    await page.evaluate(() => navigator.serviceWorker.ready); // the site is in its cache
    await browser.close();
    server.closeAllConnections();
    await new Promise((closed) => server.close(closed));

    browser = await startBrowser(profile);
    const offline = await openPage(browser);
    assert.ok(await offline.locator('#dialog_input').isVisible(), 'no name prompt');
  } finally {
    await browser.kill();
  }
});
