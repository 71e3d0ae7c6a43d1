// The program's side of the page (frontend/web/Page.h): it runs in the dedicated worker beside the program and
// talks to the page (site/kelvrast.js) by messages. The page's events wait in one queue, which the program takes
// one at a time, each once the one before is handled to its end: a click or a tick that comes while a dialog waits
// for its answer, or while the disk works, waits its turn. Between two events, while the program holds no file,
// this side also serves the page's downloads and the copies in a folder of the student's.
mergeInto(LibraryManager.library, {
  $PAGE__postset: 'PAGE.listen();',
  $PAGE: {
    queue: [],
    wake: null, // resolves the program's wait for an event
    answer: null, // resolves the program's wait for a dialog's answer
    row: 0,
    text: '',
    // How often the program set each box: a change the page made to an older text is no change of the current one.
    versions: {},
    timers: {},
    drawing: [],
    handled: 0,
    ended: false,
    files: null, // the student's files: { send, notes, master }, paths from the origin's root
    copyFolder: null,
    copiedSizes: {},
    clicked: false, // a click since the last copy, which may have written to the files

    listen: function () {
      self.addEventListener('message', (event) => PAGE.receive(event.data));
    },
    receive: function (message) {
      if (message.kind === 'code') return; // page-code.js's
      if (message.kind === 'answer') {
        const answered = PAGE.answer;
        PAGE.answer = null;
        if (answered) answered(message);
        return;
      }
      PAGE.push(message);
    },
    push: function (event) {
      // Once the program has ended, or while it waits for a dialog's answer, it holds no file: a download or a copy
      // is served at once.
      const served = event.kind === 'download' || event.kind === 'keepCopy';
      if (served && (PAGE.ended || PAGE.answer)) {
        PAGE.serve(event);
        return;
      }
      if (PAGE.ended) return;
      PAGE.queue.push(event);
      if (PAGE.wake) {
        const wake = PAGE.wake;
        PAGE.wake = null;
        wake();
      }
    },
    post: function (message, transfer) {
      postMessage(message, transfer || []);
    },
    string: function (pointer) {
      return UTF16ToString(pointer);
    },

    // What only this side handles, between the program's events.
    serve: async function (event) {
      try {
        if (event.kind === 'download') await PAGE.download(event.which);
        else {
          PAGE.copyFolder = event.folder;
          PAGE.copiedSizes = {};
          await PAGE.copyOut();
        }
      } catch (error) {
        PAGE.post({ kind: 'fileFailure', what: event.kind, name: error.name, message: String(error.message) });
      }
    },
    file: async function (path) {
      const names = path.split('/').filter((name) => name !== '');
      let folder = await navigator.storage.getDirectory();
      for (const name of names.slice(0, -1)) folder = await folder.getDirectoryHandle(name);
      return (await folder.getFileHandle(names[names.length - 1])).getFile();
    },
    baseName: function (path) {
      return path.slice(path.lastIndexOf('/') + 1);
    },
    download: async function (which) {
      const path = PAGE.files && PAGE.files[which];
      if (!path) return;
      let bytes;
      try {
        bytes = await (await PAGE.file(path)).arrayBuffer();
      } catch (error) {
        if (error.name !== 'NotFoundError') throw error;
        bytes = new ArrayBuffer(0); // nothing recorded in it yet
      }
      PAGE.post({ kind: 'file', which: which, name: PAGE.baseName(path), bytes: bytes }, [bytes]);
    },
    // Every file of the student's that grew since the last copy, written whole into the folder the student picked:
    // a writable stream replaces the file only when it is closed, so the copy is never half written.
    copyOut: async function () {
      if (!PAGE.copyFolder || !PAGE.files) return;
      PAGE.clicked = false;
      for (const path of [PAGE.files.send, PAGE.files.notes, PAGE.files.master]) {
        let file;
        try {
          file = await PAGE.file(path);
        } catch (error) {
          if (error.name === 'NotFoundError') continue;
          throw error;
        }
        if (PAGE.copiedSizes[path] === file.size) continue;
        const copy = await PAGE.copyFolder.getFileHandle(PAGE.baseName(path), { create: true });
        const stream = await copy.createWritable();
        await stream.write(await file.arrayBuffer());
        await stream.close();
        PAGE.copiedSizes[path] = file.size;
      }
      PAGE.post({ kind: 'copied', folder: PAGE.copyFolder.name });
    },

    tick: function (timer) {
      if (!PAGE.queue.some((event) => event.kind === 'tick' && event.row === timer))
        PAGE.push({ kind: 'tick', row: timer });
    },
    sendDrawing: function () {
      if (PAGE.drawing.length === 0) return;
      PAGE.post({ kind: 'draw', circles: PAGE.drawing });
      PAGE.drawing = [];
    },
    codes: { click: 1, changed: 2, tick: 3, hidden: 4 },
  },

  kelvrast_page_next_event__deps: ['$PAGE'],
  kelvrast_page_next_event: function () {
    return Asyncify.handleAsync(async () => {
      for (;;) {
        if (PAGE.queue.length === 0 && PAGE.clicked) {
          await PAGE.copyOut().catch((error) =>
            PAGE.post({ kind: 'fileFailure', what: 'keepCopy', name: error.name, message: String(error.message) }));
        }
        if (PAGE.queue.length === 0) await new Promise((wake) => (PAGE.wake = wake));
        const event = PAGE.queue.shift();
        if (event.kind === 'download' || event.kind === 'keepCopy') {
          await PAGE.serve(event);
          continue;
        }
        if (event.kind === 'changed' && event.version < (PAGE.versions[event.row] || 0)) continue;
        if (event.kind === 'click') PAGE.clicked = true;
        PAGE.row = event.row || 0;
        PAGE.text = event.text || '';
        return PAGE.codes[event.kind];
      }
    });
  },
  kelvrast_page_event_row__deps: ['$PAGE'],
  kelvrast_page_event_row: function () {
    return PAGE.row;
  },
  kelvrast_page_take_text__deps: ['$PAGE', 'malloc'],
  kelvrast_page_take_text: function () {
    const size = (PAGE.text.length + 1) * 2;
    const buffer = _malloc(size);
    stringToUTF16(PAGE.text, buffer, size);
    PAGE.text = '';
    return buffer;
  },
  kelvrast_page_event_handled__deps: ['$PAGE'],
  kelvrast_page_event_handled: function () {
    PAGE.sendDrawing();
    PAGE.handled += 1;
    PAGE.post({ kind: 'handled', count: PAGE.handled });
  },

  kelvrast_page_form_size__deps: ['$PAGE'],
  kelvrast_page_form_size: function (width, height, pictureBorder) {
    PAGE.post({ kind: 'formSize', width: width, height: height, pictureBorder: pictureBorder });
  },
  kelvrast_page_add_control__deps: ['$PAGE'],
  kelvrast_page_add_control: function (row, objectName, kind, caption, left, top, width, height, tabIndex,
                                       multiLine, largeFont, spokenName, narrow, shrinksToFit) {
    PAGE.post({
      kind: 'control', row: row, name: UTF8ToString(objectName), controlKind: UTF8ToString(kind), caption: PAGE.string(caption),
      left: left, top: top, width: width, height: height, tabIndex: tabIndex, multiLine: !!multiLine,
      largeFont: !!largeFont, spokenName: PAGE.string(spokenName), narrow: !!narrow, shrinksToFit: !!shrinksToFit,
    });
  },
  kelvrast_page_show_form__deps: ['$PAGE'],
  kelvrast_page_show_form: function () {
    PAGE.post({ kind: 'show' });
  },
  kelvrast_page_student_files__deps: ['$PAGE'],
  kelvrast_page_student_files: function (send, notes, master) {
    PAGE.files = { send: PAGE.string(send), notes: PAGE.string(notes), master: PAGE.string(master) };
    PAGE.post({
      kind: 'studentFiles',
      send: PAGE.baseName(PAGE.files.send), notes: PAGE.baseName(PAGE.files.notes),
      master: PAGE.baseName(PAGE.files.master),
    });
  },
  kelvrast_page_program_ended__deps: ['$PAGE'],
  kelvrast_page_program_ended: function (status) {
    for (const timer of Object.values(PAGE.timers)) clearInterval(timer);
    PAGE.timers = {};
    PAGE.sendDrawing();
    PAGE.ended = true;
    const waiting = PAGE.queue.filter((event) => event.kind === 'download' || event.kind === 'keepCopy');
    PAGE.queue = [];
    PAGE.post({ kind: 'ended', status: status });
    for (const event of waiting) PAGE.serve(event);
    PAGE.copyOut().catch(() => {});
  },

  kelvrast_page_set_text__deps: ['$PAGE'],
  kelvrast_page_set_text: function (row, text, undoable) {
    PAGE.versions[row] = (PAGE.versions[row] || 0) + 1;
    PAGE.post({ kind: 'setText', row: row, text: PAGE.string(text), undoable: !!undoable,
                version: PAGE.versions[row] });
  },
  kelvrast_page_circle__deps: ['$PAGE'],
  kelvrast_page_circle: function (row, x, y, radius) {
    PAGE.drawing.push([row, x, y, radius]);
  },
  kelvrast_page_beep__deps: ['$PAGE'],
  kelvrast_page_beep: function () {
    PAGE.post({ kind: 'beep' });
  },
  kelvrast_page_set_timer__deps: ['$PAGE'],
  kelvrast_page_set_timer: function (timer, milliseconds, enabled) {
    if (PAGE.timers[timer] !== undefined) clearInterval(PAGE.timers[timer]);
    delete PAGE.timers[timer];
    // A tick that waits for a stopped timer goes, as a window system drops it.
    PAGE.queue = PAGE.queue.filter((event) => !(event.kind === 'tick' && event.row === timer));
    if (enabled) PAGE.timers[timer] = setInterval(() => PAGE.tick(timer), milliseconds);
  },
  kelvrast_page_dialog__deps: ['$PAGE'],
  kelvrast_page_dialog: function (kind, text, first, second) {
    return Asyncify.handleAsync(async () => {
      PAGE.sendDrawing();
      const answered = new Promise((answer) => (PAGE.answer = answer));
      PAGE.post({ kind: 'dialog', dialogKind: UTF8ToString(kind), text: PAGE.string(text), first: PAGE.string(first),
                  second: PAGE.string(second) });
      const answer = await answered;
      PAGE.text = answer.text || '';
      return answer.first ? 1 : 0;
    });
  },
});
