// Runs before the program's own script in the worker: the program's code comes compiled from the page
// (kelvrast-start.js), or, when the page could not hand it over, is fetched here.
var Module = {
  instantiateWasm: function (imports, receiveInstance) {
    const take = async function (event) {
      if (!event.data || event.data.kind !== 'code') return;
      self.removeEventListener('message', take);
      const instantiated = event.data.code
        ? { module: event.data.code, instance: await WebAssembly.instantiate(event.data.code, imports) }
        : await WebAssembly.instantiate(await (await fetch('kelvrast-core.wasm')).arrayBuffer(), imports);
      receiveInstance(instantiated.instance, instantiated.module);
    };
    self.addEventListener('message', take);
    return {};
  },
};
