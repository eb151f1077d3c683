// Lets the page leave trailing arguments out, as web/API.md promises:
// embind insists on every declared argument, so each exported function is
// given undefined for the ones not passed (the C++ takes undefined as "the
// default").
addOnPostRun(() => {
  for (const name of Object.keys(Module)) {
    const f = Module[name];
    if (typeof f !== 'function' || typeof f.argCount !== 'number') continue;
    Module[name] = (...args) => {
      while (args.length < f.argCount) args.push(undefined);
      return f(...args);
    };
  }
});
