// Runs the browser edition's C++ tests in a dedicated worker, the only place with sync access handles, and hands
// their output and their exit status to the page. The page gives the tests' arguments after "?", as JSON.
self.Module = {
  arguments: JSON.parse(decodeURIComponent(self.location.search.slice(1) || '[]')),
  print: (line) => postMessage({ line: line }),
  printErr: (line) => postMessage({ line: line }),
  onExit: (status) => postMessage({ status: status }),
};
// exit() ends the program by throwing ExitStatus, once onExit has told the status: that is no error. Thrown while
// the program resumes from a wait, it comes as a promise's rejection.
const isExit = (error) => error && error.name === 'ExitStatus';
self.addEventListener('error', (event) => isExit(event.error) && event.preventDefault());
self.addEventListener('unhandledrejection', (event) => isExit(event.reason) && event.preventDefault());
importScripts('web_system_tests.js');
