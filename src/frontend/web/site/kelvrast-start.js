// Starts the program first of all, while the rest of the page still loads: its worker fetches and compiles the
// program meanwhile. What it says before the page listens waits here (kelvrast.js).
'use strict';
window.kelvrastCore = { worker: new Worker('kelvrast-core.js'), early: [] };
window.kelvrastCore.worker.onmessage = (event) => window.kelvrastCore.early.push(event);
