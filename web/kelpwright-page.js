// The loader every page of the web build shares. It checks that the browser has WebGL, loads the
// program named by the data-module attribute of #kelpwright, and says on the page what became of it:
// loading, a program that could not start (and why), one that stopped with an error, one that ended.
// data-state on #kelpwright tells the same to scripts: loading, running, ended, failed or no-webgl.
// The page's query gives the program its arguments: page.html?arg=one&arg=two.
(function () {
    'use strict';
    var host = document.getElementById('kelpwright');
    var status = document.getElementById('kelpwright-status');
    var name = document.title;

    function say(state, text) {
        host.dataset.state = state;
        status.textContent = text;
        status.hidden = text === '';
    }

    function hasWebGl() {
        try {
            return !!document.createElement('canvas').getContext('webgl');
        } catch (error) {
            return false;
        }
    }

    // A failure takes the program's window off the page, so no half-made window stays behind.
    function fail(text) {
        if (host.dataset.state === 'failed' || host.dataset.state === 'ended') {
            return;
        }
        var programWindow = host.querySelector('.kw-window');
        if (programWindow) {
            programWindow.remove();
        }
        say('failed', text);
    }

    if (!hasWebGl()) {
        say('no-webgl', name + ' cannot run in this browser: it draws with WebGL, which this browser does not offer.');
        return;
    }

    window.Module = {
        arguments: new URLSearchParams(window.location.search).getAll('arg'),
        print: function (text) { console.log(text); },
        printErr: function (text) { console.warn(text); },
        onRuntimeInitialized: function () { say('running', ''); },
        onAbort: function (reason) {
            if (host.dataset.state === 'running') {
                fail(name + ' stopped with an error (' + reason + '). Reload the page to start it again.');
            } else {
                fail(name + ' could not be loaded (' + reason + '). Reload the page to try again.');
            }
        },
        onExit: function (code) {
            say('ended', name + ' has ended (exit code ' + code + '). Reload the page to start it again.');
        },
    };
    // NOTE: a module whose .wasm cannot be fetched at all (no answer, as opposed to an error answer)
    // rejects a promise that nothing handles, instead of calling onAbort.
    window.addEventListener('unhandledrejection', function (event) {
        if (host.dataset.state === 'loading') {
            fail(name + ' could not be loaded (' + event.reason + '). Reload the page to try again.');
        }
    });
    var script = document.createElement('script');
    script.src = host.dataset.module;
    script.onerror = function () {
        fail(name + ' could not be loaded (' + host.dataset.module + ' did not arrive). Reload the page to try again.');
    };
    document.body.appendChild(script);
})();
