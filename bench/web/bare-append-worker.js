// The least a dedicated worker does to append two blocks durably in the origin-private file system: a sync access
// handle on each of two files, opened once and held; each message writes a block of each given size at its file's
// end and flushes it, one file after the other, and answers. No sizes, no writes: the round trip alone. Its files lie
// in a folder of their own, apart from the site's, which shares the origin.
const names = ['first.txt', 'second.txt'];
const opened = (async () => {
  const root = await navigator.storage.getDirectory();
  const folder = await root.getDirectoryHandle('bare-append', { create: true });
  return Promise.all(
    names.map(async (name) => (await folder.getFileHandle(name, { create: true })).createSyncAccessHandle()),
  );
})();

opened.then(
  (handles) => {
    onmessage = ({ data: sizes }) => {
      for (let i = 0; i < Math.min(sizes.length, handles.length); ++i) {
        const handle = handles[i];
        handle.write(new Uint8Array(sizes[i]).fill(0x61), { at: handle.getSize() });
        handle.flush();
      }
      postMessage('appended');
    };
    postMessage('ready');
  },
  (error) => postMessage(`failed: ${error.name}: ${error.message}`),
);
