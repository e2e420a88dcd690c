// Keeps the game's files so that the page opens without a connection once it has
// been opened with one. build.sh puts the files' own hash in the cache's name: a
// new version of the folder is a new cache, and the old one is dropped.
'use strict';
const CACHE = 'quorvela-@VERSION@';
const FILES = ['./', 'index.html', 'touch.js', 'qtloader.js', 'quorvela.js', 'quorvela.wasm',
               'quorvela.svg', 'quorvela-192.png', 'quorvela-512.png', 'manifest.webmanifest'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('quorvela-') && k !== CACHE)
                                    .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET')
    return;
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(event.request, { ignoreSearch: true }).then((hit) => hit || fetch(event.request))));
});
