// Starts the program first of all, while the rest of the page still loads. The page fetches and compiles the
// program's code while the worker starts, and hands it over compiled (page-code.js); a browser that cannot hand a
// compiled module to a worker leaves the worker to fetch the code itself. What the worker says before the page
// listens waits here (kelvrast.js).
'use strict';
window.kelvrastCore = { worker: new Worker('kelvrast-core.js'), early: [] };
window.kelvrastCore.worker.onmessage = (event) => window.kelvrastCore.early.push(event);
// A host that serves the code under another type than application/wasm gets it compiled whole instead of as it comes.
fetch('kelvrast-core.wasm')
  .then((response) =>
    WebAssembly.compileStreaming(response.clone()).catch(async () => WebAssembly.compile(await response.arrayBuffer())))
  .then((code) => window.kelvrastCore.worker.postMessage({ kind: 'code', code: code }))
  .catch(() => window.kelvrastCore.worker.postMessage({ kind: 'code' }));
