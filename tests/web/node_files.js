// Test programs of the web build under node: the machine's files under /host (as Wine shows them under
// Z:), while the program's own files, /tmp among them, stay in memory, where GoogleTest can redirect
// standard output into one. The environment is node's, so KW_UPDATE_GOLDEN reaches the program.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
    FS.mkdir('/host');
    FS.mount(NODEFS, { root: '/' }, '/host');
    Object.assign(ENV, process.env);
});
