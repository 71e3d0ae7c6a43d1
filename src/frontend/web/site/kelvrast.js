// The page: it shows the window the program in the worker (kelvrast-core.js) builds from the form's table, hands
// the student's clicks and typing to it, and shows its dialogs. Everything the program decides happens there; this
// only places controls, draws, and does what only a page can (downloads, a folder of the student's, the storage
// promise, working offline). A student's text only ever goes into a control's value or a text node, never markup.
'use strict';

const core = window.kelvrastCore.worker; // started by kelvrast-start.js
const formArea = document.getElementById('form');
const controls = []; // by row of the form's table
const versions = {}; // by row: the program's last text in each large box, as counted in the worker
let studentFiles = null;
let settingText = false; // the program's own text going into a box is no change of the student's

let pictureBorder = 0; // the canvas's border, as the program measures its drawing area (WebPictureBox)

function send(message) {
  core.postMessage(message);
}

function element(tag, properties) {
  return Object.assign(document.createElement(tag), properties);
}

// The control's element, made as the form's table says.
function makeControl(control) {
  const kind = control.controlKind;
  if (kind === 'commandButton') {
    const button = element('button', { type: 'button', textContent: control.caption });
    if (control.narrow) button.title = control.caption;
    button.addEventListener('click', () => send({ kind: 'click', row: control.row }));
    return button;
  }
  if (kind === 'textBox' && control.multiLine) {
    const box = element('textarea', { spellcheck: false });
    box.setAttribute('aria-label', control.spokenName);
    box.addEventListener('input', () => {
      if (!settingText) send({ kind: 'changed', row: control.row, text: box.value, version: versions[control.row] || 0 });
    });
    return box;
  }
  if (kind === 'textBox') {
    const box = element('input', { type: 'text', value: control.caption, spellcheck: false });
    box.setAttribute('aria-label', control.spokenName);
    return box;
  }
  if (kind === 'listBox') {
    const list = element('select', { size: 4 });
    list.setAttribute('aria-label', control.spokenName);
    return list;
  }
  if (kind === 'optionButton') {
    const option = element('input', { type: 'radio', name: 'stop_at' });
    return option;
  }
  if (kind === 'pictureBox') {
    const canvas = element('canvas');
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', control.spokenName);
    return canvas;
  }
  if (kind === 'label') return element('span', { className: 'label', textContent: control.caption });
  return element('span', { hidden: true }); // the timer has no place on the screen
}

function place(target, control) {
  Object.assign(target.style, {
    left: `${control.left}px`,
    top: `${control.top}px`,
    width: `${control.width}px`,
    height: `${control.height}px`,
    zIndex: String(control.row + 1), // of two that overlap, the later in the table lies on top
  });
  if (control.largeFont) target.style.fontSize = '9.75pt';
}

// The canvas draws at the screen's resolution, in CSS pixels of its drawing area.
function sizeCanvas(canvas, control) {
  const ratio = window.devicePixelRatio || 1;
  const width = control.width - 2 * pictureBorder;
  const height = control.height - 2 * pictureBorder;
  canvas.style.borderWidth = `${pictureBorder}px`;
  canvas.width = Math.round(width * ratio);
  canvas.height = Math.round(height * ratio);
  const drawing = canvas.getContext('2d');
  drawing.setTransform(ratio, 0, 0, ratio, 0, 0);
  drawing.lineWidth = 1;
  drawing.strokeStyle = '#000';
}

// In the order Tab moves the focus: a tab stop goes before the first one with a later tab index.
function insertInTabOrder(target, tabIndex) {
  target.dataset.tabIndex = String(tabIndex);
  const later = [...formArea.children].find((each) => Number(each.dataset.tabIndex) > tabIndex);
  formArea.insertBefore(target, later || null);
}

function addControl(control) {
  const made = makeControl(control);
  made.id = control.name;
  let placed = made;
  if (control.controlKind === 'optionButton') {
    // The option's caption is its label, as on the desktop.
    placed = element('label', { className: 'option' });
    placed.append(made, document.createTextNode(control.caption));
  }
  place(placed, control);
  if (made instanceof HTMLCanvasElement) sizeCanvas(made, control);
  if (control.shrinksToFit) placed.dataset.shrinksToFit = '';
  controls[control.row] = made;
  insertInTabOrder(placed, control.tabIndex);
}

// A caption that does not fit its control gets a smaller font, one pixel at a time, down to six points, as in the
// desktop windows.
function fitCaptions() {
  const smallest = (6 * 96) / 72;
  for (const target of formArea.querySelectorAll('[data-shrinks-to-fit]')) {
    let size = parseFloat(getComputedStyle(target).fontSize);
    while ((target.scrollWidth > target.clientWidth || target.scrollHeight > target.clientHeight) && size > smallest) {
      size = Math.max(smallest, size - 1);
      target.style.fontSize = `${size}px`;
    }
  }
}

function setText(message) {
  const box = controls[message.row];
  versions[message.row] = message.version;
  if (message.undoable) {
    // Replaced as one edit, which Undo takes back: the student's text is never lost for good.
    const focused = document.activeElement;
    box.focus();
    box.select();
    settingText = true;
    const replaced =
      message.text === '' ? document.execCommand('delete') : document.execCommand('insertText', false, message.text);
    settingText = false;
    if (focused && focused !== box) focused.focus();
    if (replaced) return;
  }
  box.value = message.text;
}

function draw(circles) {
  for (const [row, x, y, radius] of circles) {
    const drawing = controls[row].getContext('2d');
    drawing.beginPath();
    drawing.arc(x, y, radius, 0, 2 * Math.PI);
    drawing.stroke();
  }
}

let audio = null;
// A short tone, as the desktop's beep.
function beep() {
  try {
    audio = audio || new AudioContext();
    const tone = audio.createOscillator();
    const loudness = audio.createGain();
    tone.frequency.value = 880;
    loudness.gain.value = 0.1;
    tone.connect(loudness).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.12);
  } catch {
    // No sound to make here: the beep is only a signal.
  }
}

// The program's dialog. It is modal: the form takes no click or key until it is answered.
const dialog = document.getElementById('dialog');
const dialogText = document.getElementById('dialog_text');
const dialogInput = document.getElementById('dialog_input');
const dialogFirst = document.getElementById('dialog_first');
const dialogSecond = document.getElementById('dialog_second');
const dialogDownload = document.getElementById('dialog_download');
let answerDialog = null;

function showDialog(message) {
  const input = message.dialogKind === 'input';
  const choice = message.dialogKind !== 'message';
  dialogText.textContent = message.text;
  dialogInput.hidden = !input;
  dialogInput.value = '';
  dialogFirst.textContent = message.first;
  dialogSecond.textContent = message.second;
  dialogSecond.hidden = !choice;
  // A message that names the SEND file, the closing message above all, offers it for download there and then.
  dialogDownload.hidden = choice || !studentFiles || !message.text.includes(studentFiles.send);
  answerDialog = (first) => {
    answerDialog = null;
    const text = input && first ? dialogInput.value : '';
    dialog.close();
    send({ kind: 'answer', first: first, text: text });
  };
  // Escape answers as Cancel does, or as OK where OK is the only answer.
  answerDialog.onEscape = () => answerDialog(!choice);
  dialog.showModal();
  (input ? dialogInput : dialogFirst).focus();
}

dialogFirst.addEventListener('click', () => answerDialog && answerDialog(true));
dialogSecond.addEventListener('click', () => answerDialog && answerDialog(false));
dialogDownload.addEventListener('click', () => send({ kind: 'download', which: 'send' }));
dialogInput.addEventListener('keydown', (event) => {
  if (event.key === 'Enter' && !event.isComposing && answerDialog) {
    event.preventDefault();
    answerDialog(true);
  }
});
dialog.addEventListener('cancel', (event) => {
  event.preventDefault();
  if (answerDialog) answerDialog.onEscape();
});
// By the HTML standard a page may not keep a dialog open against Escape pressed again without a click or key between
// (Chromium does so): the browser then closes it without asking. That answers it as Escape does, so the program never
// waits for a dialog no longer shown.
dialog.addEventListener('close', () => answerDialog && answerDialog.onEscape());

// The bar: the student's files, to download or to keep in a folder of their own.
const bar = {
  send: document.getElementById('download_send'),
  notes: document.getElementById('download_notes'),
  master: document.getElementById('download_master'),
  keepCopy: document.getElementById('keep_copy'),
  note: document.getElementById('storage_note'),
};

function say(text) {
  bar.note.textContent = text;
}

function saveFile(name, bytes) {
  // The answer files are Windows-1252 text, as the instructor's tools expect them.
  const link = element('a', {
    href: URL.createObjectURL(new Blob([bytes], { type: 'text/plain;charset=windows-1252' })),
    download: name,
  });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

for (const which of ['send', 'notes', 'master'])
  bar[which].addEventListener('click', () => send({ kind: 'download', which: which }));
document.getElementById('ended_download').addEventListener('click', () => send({ kind: 'download', which: 'send' }));
document.getElementById('start_again').addEventListener('click', () => location.reload());

if ('showDirectoryPicker' in window) {
  bar.keepCopy.hidden = false;
  bar.keepCopy.addEventListener('click', async () => {
    try {
      const folder = await window.showDirectoryPicker({ id: 'kelvrast', mode: 'readwrite', startIn: 'documents' });
      send({ kind: 'keepCopy', folder: folder });
    } catch (error) {
      if (error.name !== 'AbortError') say(`The folder could not be used: ${error.message}`);
    }
  });
}

function showStudentFiles(names) {
  studentFiles = names;
  for (const which of ['send', 'notes', 'master']) {
    bar[which].disabled = false;
    bar[which].title = names[which];
  }
  bar.keepCopy.disabled = false;
}

function fileFailure(message) {
  if (message.what === 'keepCopy')
    say(`The copy in your folder could not be written (${message.message}). Your answers are still kept in this ` +
        'browser; choose "Keep a copy in a folder..." again.');
  else say(`The file could not be read for the download (${message.message}). Try again in a moment.`);
}

function programEnded() {
  document.body.dataset.state = 'ended';
  formArea.inert = true;
  document.getElementById('ended_text').textContent = studentFiles
    ? `Your answers are in ${studentFiles.send}. Download it and submit it to the instructor.`
    : 'Nothing was recorded.';
  document.getElementById('ended_download').hidden = !studentFiles;
  document.getElementById('ended').hidden = false;
}

const fromCore = {
  formSize: (message) => {
    Object.assign(formArea.style, { width: `${message.width}px`, height: `${message.height}px` });
    pictureBorder = message.pictureBorder;
  },
  control: addControl,
  show: () => {
    document.body.dataset.state = 'running';
    document.fonts.ready.then(fitCaptions);
    const first = formArea.querySelector('textarea, button, input, select');
    if (first) first.focus();
  },
  studentFiles: showStudentFiles,
  setText: setText,
  draw: (message) => draw(message.circles),
  beep: beep,
  dialog: showDialog,
  handled: (message) => (document.body.dataset.handled = String(message.count)),
  file: (message) => saveFile(message.name, message.bytes),
  copied: (message) => say(`A copy of every answer is kept in your folder "${message.folder}".`),
  fileFailure: fileFailure,
  ended: programEnded,
};
const fromWorker = (event) => fromCore[event.data.kind](event.data);
core.onmessage = fromWorker;
for (const early of window.kelvrastCore.early.splice(0)) fromWorker(early);
core.addEventListener('error', (event) => {
  say(`The program stopped: ${event.message}. Your answers so far are kept; reload the page to go on.`);
});

// A closed or hidden tab keeps what was typed as a draft, as the desktop window's close does.
window.addEventListener('pagehide', () => send({ kind: 'hidden' }));
document.addEventListener('visibilitychange', () => document.visibilityState === 'hidden' && send({ kind: 'hidden' }));

// The student's files live in this browser's storage for this site: ask the browser to keep them.
async function askToKeepStorage() {
  if (!navigator.storage || !navigator.storage.persist) {
    say('This browser cannot keep the answer files for this page. Open the page over https:// or from localhost.');
    return;
  }
  if ((await navigator.storage.persisted()) || (await navigator.storage.persist())) return;
  say('This browser has not promised to keep your answer files. It may clear them if the computer runs short of ' +
      'space, and Safari clears them after seven days without a visit unless you add this page to the Home Screen. ' +
      'Download your files at the end of every session, or choose "Keep a copy in a folder...".');
}
askToKeepStorage();

if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
