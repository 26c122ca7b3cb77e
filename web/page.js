// The page around the game: it sizes the canvas, owns full screen, lets
// sound start at the first key and offers a new game once the game has
// ended. Loaded before olvane-gorvel.js, which reads the Module object
// made here.
'use strict';
(function () {
  var root = document.documentElement;
  var canvas = document.getElementById('canvas');
  var status = document.getElementById('status');
  var ended = document.getElementById('ended');
  var footer = document.querySelector('footer');
  var soundHint = document.getElementById('sound');
  var lastErrors = [];

  // ---- the canvas: the largest whole multiple of 320x240 that fits ---------
  // Counted in device pixels, so that every game pixel covers the same
  // number of screen pixels on a display that scales the page too.
  function fit() {
    var scale = window.devicePixelRatio || 1;
    var bar = footer.offsetHeight;
    root.style.setProperty('--bar', bar + 'px');
    var n = Math.floor(Math.min(window.innerWidth * scale / 320, (window.innerHeight - bar) * scale / 240));
    n = Math.max(1, n);
    root.style.setProperty('--w', 320 * n / scale + 'px');
    root.style.setProperty('--h', 240 * n / scale + 'px');
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  document.addEventListener('webkitfullscreenchange', fit);
  fit();

  // ---- full screen: the page's, never SDL's ---------------------------------
  // SDL's own toggle resizes the canvas to the screen, which shows what the
  // game draws outside its 320x240.
  function toggleFullScreen() {
    if (document.fullscreenElement || document.webkitFullscreenElement) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      return;
    }
    var request = root.requestFullscreen || root.webkitRequestFullscreen;
    var result = request && request.call(root);
    if (result && result.catch) result.catch(function () {});
  }
  var fullButton = document.getElementById('full');
  fullButton.addEventListener('mousedown', function (e) { e.preventDefault(); });
  fullButton.addEventListener('click', toggleFullScreen);

  // ---- sound: browsers start audio only after a key or a click --------------
  var audioContexts = [];
  var NativeAudioContext = window.AudioContext || window.webkitAudioContext;
  function showSoundHint() {
    soundHint.hidden = audioContexts.every(function (c) { return c.state === 'running'; });
  }
  if (NativeAudioContext) {
    window.AudioContext = class extends NativeAudioContext {
      constructor(options) {
        super(options);
        audioContexts.push(this);
        this.addEventListener('statechange', showSoundHint);
        showSoundHint();
      }
    };
  }
  function unlockSound() {
    audioContexts.forEach(function (c) {
      if (c.state === 'suspended') c.resume().catch(function () {});
    });
  }
  window.addEventListener('mousedown', unlockSound, true);
  window.addEventListener('touchstart', unlockSound, true);

  // ---- keys ------------------------------------------------------------------
  // The game reads keys through emscripten's SDL, which listens on the
  // document; the page's own keys are taken before it, on the window.
  var gameOver = false;
  function onKey(e) {
    if (gameOver) {
      // SDL cancels every key's default action, so the button's Return and
      // Space are handled here.
      if (e.type === 'keydown' && (e.key === 'Enter' || e.key === ' ')) location.reload();
      return;
    }
    if (e.type === 'keydown') unlockSound();
    if (e.key === 'Enter' && e.altKey) {
      // The game never sees it: it would be START.
      e.preventDefault();
      e.stopImmediatePropagation();
      if (e.type === 'keydown' && !e.repeat) toggleFullScreen();
    }
  }
  window.addEventListener('keydown', onKey, true);
  window.addEventListener('keyup', onKey, true);

  // ---- the end: Quit, or a fatal error --------------------------------------
  function showEnd(message) {
    if (gameOver) return;
    gameOver = true;
    document.body.classList.add('ended');
    status.hidden = true;
    soundHint.hidden = true;
    if (message) {
      document.getElementById('farewell').textContent = 'The game stopped.';
      var why = document.getElementById('why');
      why.textContent = message;
      why.hidden = false;
    }
    ended.hidden = false;
    document.getElementById('again').focus();
  }
  document.getElementById('again').addEventListener('click', function () { location.reload(); });

  window.Module = {
    canvas: canvas,
    // The sounds stay files, decoded and played by Web Audio; the images
    // are decoded while the page loads, which IMG_Load needs.
    noAudioDecoding: true,
    print: function (text) { console.log(text); },
    printErr: function (text) {
      console.warn(text);
      lastErrors.push(text);
      if (lastErrors.length > 4) lastErrors.shift();
    },
    setStatus: function (text) {
      status.textContent = text;
      status.hidden = !text;
    },
    onExit: function (code) {
      showEnd(code === 0 ? '' : lastErrors.join('\n') || 'Exit status ' + code);
    },
    onAbort: function (what) {
      showEnd(String(what || lastErrors.join('\n') || 'Aborted'));
    },
  };
})();
