// The origin-private file system, as the web system half (system/web/Opfs.h) asks it. The calls that wait (opening
// a file, its folders, listings) suspend the program through Asyncify until the browser answers; a sync access
// handle's own calls are synchronous, in the dedicated worker where the program runs. Paths are the program's own,
// "/" between names, from the origin's root. Offsets and sizes travel as doubles, exact below 2^53. Every function
// that waits (OPFS.wait) is named in src/CMakeLists.txt's opfs_waits, so that Asyncify can suspend the program there.
mergeInto(LibraryManager.library, {
  $OPFS: {
    // By number; a plain object, since em++ writes this one out as a literal.
    handles: {},
    nextHandle: 1,
    // The codes of system/web/Opfs.h's Error, by the name of the DOMException (or TypeError) the browser threw.
    codes: {
      NotFoundError: 1,
      TypeMismatchError: 2,
      NoModificationAllowedError: 3,
      QuotaExceededError: 4,
      TypeError: 5,
    },
    exists: 6,
    notAFolder: 7,
    other: 8,
    codeOf: function (error) {
      return OPFS.codes[error && error.name] || OPFS.other;
    },
    namesOf: function (path) {
      return UTF8ToString(path).split('/').filter((name) => name !== '');
    },
    // The handles met on the way to an entry, by path: an answer's files are opened again and again, and each step
    // of a walk waits for the browser. A handle kept from before whose entry another tab removed makes the step
    // fail as not found; wait() then forgets every kept handle and takes the step once more, from the root.
    root: null,
    kept: {}, // a plain object: em++ writes this one out as a literal
    keptUsed: false,
    forget: function (path) {
      const names = OPFS.namesOf(path).join('/');
      for (const key of Object.keys(OPFS.kept)) if (key === names || key.startsWith(names + '/')) delete OPFS.kept[key];
    },
    // The folder at these names; a name on the way that is a file is notAFolder, not the file's own mismatch.
    folder: async function (names, create) {
      OPFS.root = OPFS.root || (await navigator.storage.getDirectory());
      let folder = OPFS.root;
      for (let depth = 1; depth <= names.length; ++depth) {
        const key = names.slice(0, depth).join('/');
        const kept = OPFS.kept[key];
        if (kept && kept.kind === 'directory') {
          OPFS.keptUsed = true;
          folder = kept;
          continue;
        }
        try {
          folder = await folder.getDirectoryHandle(names[depth - 1], { create: create });
        } catch (error) {
          throw error.name === 'TypeMismatchError' ? { name: 'notAFolder' } : error;
        }
        OPFS.kept[key] = folder;
      }
      return folder;
    },
    // The entry's folder and its own name; the root has none.
    place: async function (path) {
      const names = OPFS.namesOf(path);
      if (names.length === 0) throw new TypeError('the root has no name');
      const name = names.pop();
      return { folder: await OPFS.folder(names, false), name: name };
    },
    fileHandle: async function (path, create) {
      const key = OPFS.namesOf(path).join('/');
      const kept = OPFS.kept[key];
      if (kept && kept.kind === 'file') {
        OPFS.keptUsed = true;
        return kept;
      }
      const place = await OPFS.place(path);
      const file = await place.folder.getFileHandle(place.name, { create: create });
      OPFS.kept[key] = file;
      return file;
    },
    // Runs an asynchronous step and gives its result, or minus the error's code.
    wait: function (step) {
      return Asyncify.handleAsync(async () => {
        try {
          OPFS.keptUsed = false;
          try {
            return await step();
          } catch (error) {
            if (error.name !== 'NotFoundError' || !OPFS.keptUsed) throw error;
            OPFS.kept = {};
            return await step();
          }
        } catch (error) {
          return error.name === 'notAFolder' ? -OPFS.notAFolder : -OPFS.codeOf(error);
        }
      });
    },
    // A step refused because a handle in this tab or another holds the entry, tried again for about a second.
    patiently: async function (step) {
      for (let tries = 1; ; ++tries) {
        try {
          return await step();
        } catch (error) {
          if (error.name !== 'NoModificationAllowedError' || tries === 20) throw error;
          await new Promise((resume) => setTimeout(resume, 50));
        }
      }
    },
    run: function (step) {
      try {
        return step();
      } catch (error) {
        return -OPFS.codeOf(error);
      }
    },
    copyOut: function (text) {
      const size = lengthBytesUTF8(text) + 1;
      const at = _malloc(size);
      stringToUTF8(text, at, size);
      return at;
    },
  },

  // A sync access handle on the file, which holds the file's lock while open: its number, or minus the error's code.
  // Another handle on the file, in this tab or another, makes the browser refuse at once; that is tried again for
  // about a second, as a file held by another program is on Windows.
  kelvrast_opfs_open__deps: ['$OPFS'],
  kelvrast_opfs_open: function (path, create) {
    return OPFS.wait(async () => {
      const file = await OPFS.fileHandle(path, create !== 0);
      const handle = await OPFS.patiently(() => file.createSyncAccessHandle());
      const number = OPFS.nextHandle++;
      OPFS.handles[number] = handle;
      return number;
    });
  },
  kelvrast_opfs_read__deps: ['$OPFS'],
  kelvrast_opfs_read: function (handle, into, size, at) {
    return OPFS.run(() => OPFS.handles[handle].read(HEAPU8.subarray(into, into + size), { at: at }));
  },
  kelvrast_opfs_write__deps: ['$OPFS'],
  kelvrast_opfs_write: function (handle, from, size, at) {
    return OPFS.run(() => OPFS.handles[handle].write(HEAPU8.subarray(from, from + size), { at: at }));
  },
  kelvrast_opfs_size__deps: ['$OPFS'],
  kelvrast_opfs_size: function (handle) {
    return OPFS.run(() => OPFS.handles[handle].getSize());
  },
  kelvrast_opfs_truncate__deps: ['$OPFS'],
  kelvrast_opfs_truncate: function (handle, size) {
    return OPFS.run(() => (OPFS.handles[handle].truncate(size), 0));
  },
  kelvrast_opfs_flush__deps: ['$OPFS'],
  kelvrast_opfs_flush: function (handle) {
    return OPFS.run(() => (OPFS.handles[handle].flush(), 0));
  },
  kelvrast_opfs_close__deps: ['$OPFS'],
  kelvrast_opfs_close: function (handle) {
    const opened = OPFS.handles[handle];
    delete OPFS.handles[handle];
    if (opened) opened.close();
  },

  // Makes the folder. With mustBeNew, one folder in an existing one, and exists when anything stands at its name
  // (the file system has no call that makes a folder only when it is missing, so this looks first); without, the
  // folder and every missing one above it, and nothing when it is there.
  kelvrast_opfs_make_folder__deps: ['$OPFS'],
  kelvrast_opfs_make_folder: function (path, mustBeNew) {
    return OPFS.wait(async () => {
      if (mustBeNew === 0) {
        await OPFS.folder(OPFS.namesOf(path), true);
        return 0;
      }
      const place = await OPFS.place(path);
      for await (const name of place.folder.keys()) if (name === place.name) return -OPFS.exists;
      await place.folder.getDirectoryHandle(place.name, { create: true });
      return 0;
    });
  },
  // 0 for nothing there, 1 for a file, 2 for a folder, or minus the error's code.
  kelvrast_opfs_kind__deps: ['$OPFS'],
  kelvrast_opfs_kind: function (path) {
    return OPFS.wait(async () => {
      const names = OPFS.namesOf(path);
      if (names.length === 0) return 2;
      let place;
      try {
        place = await OPFS.place(path);
      } catch (error) {
        if (error.name === 'NotFoundError') return 0;
        throw error;
      }
      // No destructuring here: em++ 3.1.6's minifier drops it from a for-await loop.
      for await (const handle of place.folder.values())
        if (handle.name === place.name) return handle.kind === 'file' ? 1 : 2;
      return 0;
    });
  },
  kelvrast_opfs_remove__deps: ['$OPFS'],
  kelvrast_opfs_remove: function (path) {
    return OPFS.wait(async () => {
      OPFS.forget(path);
      const place = await OPFS.place(path);
      await OPFS.patiently(() => place.folder.removeEntry(place.name, { recursive: true }));
      return 0;
    });
  },
  // Puts the file at from in the place of to, replacing it: FileSystemHandle.move(), in the File System standard's
  // pending change for it (whatpr.org/fs/10) and its web-platform tests, which replace an existing file; Chromium and
  // Firefox have it. A browser whose move() will not replace has the old file removed first.
  kelvrast_opfs_move__deps: ['$OPFS'],
  kelvrast_opfs_move: function (from, to) {
    return OPFS.wait(async () => {
      const file = await OPFS.fileHandle(from, false);
      const target = await OPFS.place(to);
      OPFS.forget(from);
      OPFS.forget(to);
      await OPFS.patiently(async () => {
        try {
          await file.move(target.folder, target.name);
        } catch (error) {
          if (error.name !== 'InvalidModificationError' && error.name !== 'NoModificationAllowedError') throw error;
          await target.folder.removeEntry(target.name);
          await file.move(target.folder, target.name);
        }
      });
      return 0;
    });
  },
  // The whole file, read without its lock: its bytes go to a block of the program's memory, whose place and size
  // are written to *into and *size.
  kelvrast_opfs_read_all__deps: ['$OPFS', 'malloc'],
  kelvrast_opfs_read_all: function (path, into, size) {
    return OPFS.wait(async () => {
      const file = await (await OPFS.fileHandle(path, false)).getFile();
      const bytes = new Uint8Array(await file.arrayBuffer());
      const at = _malloc(Math.max(bytes.length, 1));
      HEAPU8.set(bytes, at);
      HEAPU32[into >> 2] = at;
      HEAPU32[size >> 2] = bytes.length;
      return 0;
    });
  },
  // When the file was last written, in milliseconds since 1970.
  kelvrast_opfs_last_modified__deps: ['$OPFS'],
  kelvrast_opfs_last_modified: function (path) {
    return OPFS.wait(async () => (await (await OPFS.fileHandle(path, false)).getFile()).lastModified);
  },
  // The names in the folder, each followed by "/" (which no name holds), in a block of the program's memory.
  kelvrast_opfs_names__deps: ['$OPFS', 'malloc'],
  kelvrast_opfs_names: function (path, into) {
    return OPFS.wait(async () => {
      const folder = await OPFS.folder(OPFS.namesOf(path), false);
      let names = '';
      for await (const name of folder.keys()) names += name + '/';
      HEAPU32[into >> 2] = OPFS.copyOut(names);
      return 0;
    });
  },
});
