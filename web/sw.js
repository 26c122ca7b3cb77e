// The service worker: it keeps every file of one build, so that after one
// visit the game starts and plays without a network. The build writes the
// list of files and the version, a hash of their contents: a new build's
// worker fills a cache of its own, takes over at once and drops the old one,
// so that one page never mixes the files of two builds for long.
'use strict';
var PREFIX = 'olvane-gorvel-';
var CACHE = PREFIX + '@OG_WEB_VERSION@';
var FILES = [@OG_WEB_FILES@];

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) {
    // Past the browser's HTTP cache: it may hold the last build's files.
    return cache.addAll(FILES.map(function (file) { return new Request(file, { cache: 'no-cache' }); }));
  }).then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.startsWith(PREFIX) && name !== CACHE;
    }).map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

// The cache first, which is what makes a start without a network as quick
// as one with it; anything else goes to the network as usual.
self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE).then(function (cache) {
    return cache.match(request, { ignoreSearch: true });
  }).then(function (kept) { return kept || fetch(request); }));
});
