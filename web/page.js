// The page around the game: it sizes the canvas, owns full screen, lets
// sound start at the first key or tap, gives touch screens the pad's
// buttons that have no target on the game's screen, keeps the game for
// offline play and offers a new game once the game has ended. Loaded
// before olvane-gorvel.js, which reads the Module object made here.
'use strict';
(function () {
  var root = document.documentElement;
  var canvas = document.getElementById('canvas');
  var status = document.getElementById('status');
  var ended = document.getElementById('ended');
  var footer = document.querySelector('footer');
  var soundHint = document.getElementById('sound');
  var lastErrors = [];

  // ---- touch screens: the pad's buttons beside or below the canvas -------
  // A first touch shows them too, where the browser did not say it has a
  // touch screen.
  var coarse = window.matchMedia('(any-pointer: coarse)');
  var upright = window.matchMedia('(orientation: portrait)');
  var main = document.querySelector('main');
  var padStart = document.getElementById('pad-start');
  var padVolume = document.getElementById('pad-volume');
  function setTouch(on) {
    if (root.classList.contains('touch') === on) return;
    root.classList.toggle('touch', on);
    fit();
  }

  // ---- the canvas: as large as the room allows ------------------------------
  // Pixels stay square: a whole number of device pixels for each game pixel
  // where that fills nine tenths of the room, the largest size otherwise.
  function fit() {
    var scale = window.devicePixelRatio || 1;
    var bar = footer.getBoundingClientRect().height;
    root.style.setProperty('--bar', bar + 'px');
    var box = getComputedStyle(main), outer = main.getBoundingClientRect();
    var w = outer.width - parseFloat(box.paddingLeft) - parseFloat(box.paddingRight);
    var h = outer.height - parseFloat(box.paddingTop) - parseFloat(box.paddingBottom);
    if (root.classList.contains('touch')) {
      if (upright.matches) h -= Math.max(padStart.offsetHeight, padVolume.offsetHeight) + parseFloat(box.rowGap);
      else w -= padStart.offsetWidth + padVolume.offsetWidth + 2 * parseFloat(box.columnGap);
    }
    var most = Math.max(0, Math.min(w * scale / 320, h * scale / 240));  // device pixels per game pixel
    var n = Math.floor(most) >= 0.9 * most && most >= 1 ? Math.floor(most) : most;
    var width = Math.floor(320 * n);
    root.style.setProperty('--w', width / scale + 'px');
    root.style.setProperty('--h', Math.round(width * 3 / 4) / scale + 'px');
  }
  window.addEventListener('resize', fit);
  upright.addEventListener('change', fit);
  document.addEventListener('fullscreenchange', fit);
  document.addEventListener('webkitfullscreenchange', fit);
  setTouch(coarse.matches || navigator.maxTouchPoints > 0);
  fit();
  coarse.addEventListener('change', function () { setTouch(coarse.matches || navigator.maxTouchPoints > 0); });
  window.addEventListener('pointerdown', function (e) { if (e.pointerType === 'touch') setTouch(true); }, true);

  // ---- full screen: the page's, never SDL's ---------------------------------
  // SDL's own toggle resizes the canvas to the screen, which shows what the
  // game draws outside its 320x240.
  function fullScreen() { return document.fullscreenElement || document.webkitFullscreenElement; }
  function toggleFullScreen() {
    if (fullScreen()) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      return;
    }
    var request = root.requestFullscreen || root.webkitRequestFullscreen;
    var result = request && request.call(root);
    if (result && result.catch) result.catch(function () {});
  }
  // A phone has no Escape key: the button stays, and leads back.
  var fullButton = document.getElementById('full');
  var fullLabel = fullButton.firstChild;
  fullButton.hidden = !(document.fullscreenEnabled || document.webkitFullscreenEnabled);
  fullButton.addEventListener('mousedown', function (e) { e.preventDefault(); });
  fullButton.addEventListener('click', toggleFullScreen);
  function nameFullButton() { fullLabel.textContent = fullScreen() ? 'Leave full screen' : 'Full screen'; }
  document.addEventListener('fullscreenchange', nameFullButton);
  document.addEventListener('webkitfullscreenchange', nameFullButton);

  // ---- sound: browsers start audio only after a key, a click or a tap -------
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
  // A touch counts as the user's only once it ends.
  ['mousedown', 'touchstart', 'touchend', 'pointerup'].forEach(function (type) {
    window.addEventListener(type, unlockSound, true);
  });

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

  // ---- the touch buttons press the pad's buttons through their keys ---------
  // As keys sent where the game's SDL listens, with the codes it maps to
  // START and the volume: a button held is a key held, so the pad's repeat,
  // its mute (both volume keys at once) and its overlay work as with keys.
  // A key held by two buttons goes up when the last lets go.
  var keysHeld = {};
  var KEY_NAMES = { 13: 'Enter', 187: '=', 189: '-' };
  function sendKey(type, code) {
    var e = new KeyboardEvent(type, { key: KEY_NAMES[code], bubbles: true, cancelable: true });
    Object.defineProperty(e, 'keyCode', { value: code });
    Object.defineProperty(e, 'which', { value: code });
    document.dispatchEvent(e);
  }
  function holdKey(code, down) {
    keysHeld[code] = (keysHeld[code] || 0) + (down ? 1 : -1);
    if (keysHeld[code] === (down ? 1 : 0)) sendKey(down ? 'keydown' : 'keyup', code);
  }
  document.querySelectorAll('.pad button').forEach(function (button) {
    var codes = button.dataset.keys.split(' ').map(Number);
    var pointers = new Set();
    function press(e) {
      e.preventDefault();
      button.setPointerCapture(e.pointerId);
      if (pointers.size === 0) codes.forEach(function (code) { holdKey(code, true); });
      pointers.add(e.pointerId);
      button.classList.add('down');
    }
    function release(e) {
      if (!pointers.delete(e.pointerId) || pointers.size) return;
      codes.forEach(function (code) { holdKey(code, false); });
      button.classList.remove('down');
    }
    button.addEventListener('pointerdown', press);
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (type) {
      button.addEventListener(type, release);
    });
  });
  // A long press would open the browser's menu over the game.
  document.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  // Safari zooms with two fingers whatever the page says.
  document.addEventListener('gesturestart', function (e) { e.preventDefault(); });

  // ---- offline: a service worker keeps the build's files --------------------
  // Browsers allow one only on https and on this machine's own addresses.
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(function (e) { console.warn('Not kept for offline play: ' + e); });
  }

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
