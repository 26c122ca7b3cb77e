// The browser build as tools/serve.py serves it, played in headless Debian
// Chromium with keys on a desktop and with touches on a phone, checked
// against the desktop's frames (build-test/tests/og_screenshots).
// Usage: node tests/web/browser_test.mjs [BUILD_DIR]   (default build-web)
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const build = path.resolve(process.argv[2] || path.join(repo, 'build-web'));
const screenshots = path.join(repo, 'build-test/tests/og_screenshots');
const missing = [path.join(build, 'olvane-gorvel.js'), screenshots].filter((f) => !fs.existsSync(f));
if (missing.length) throw new Error(`No ${missing.join(' nor ')}: run scripts/ci.d/60-web.sh`);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const check = (ok, what) => { if (!ok) throw new Error(what); };

// Installed in every document: waits until the canvas shows each part as the
// 16-bit desktop would (or, when absent, until it no longer does). A part is
// [picture, x, y, left, top, width, height] of a picture; its cyan is not drawn.
function pageHelper() {
  // A standard gamepad that the page shows only once ogPad presses or lets go
  // of one of its buttons, as browsers do.
  const pad = { id: 'stub', index: 0, connected: true, mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) };
  let padShown = false;
  navigator.getGamepads = () => [padShown ? pad : null, null, null, null];
  window.ogPad = (button, down) => {
    padShown = true;
    pad.buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
    pad.timestamp++;
  };
  const pictures = {};
  const load = async (src) => {
    const bitmap = await createImageBitmap(await (await fetch(src)).blob(), { colorSpaceConversion: 'none' });
    const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
    context.drawImage(bitmap, 0, 0);
    return context.getImageData(0, 0, bitmap.width, bitmap.height);
  };
  async function misses(parts) {
    const screen = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 320, 240).data;
    let count = 0;
    for (const [src, x, y, left = 0, top = 0, width, height] of parts) {
      const { data: p, width: w, height: h } = await (pictures[src] ??= load(src));
      for (let j = 0; j < (height ?? h); j++) {
        for (let i = 0; i < (width ?? w); i++) {
          const k = ((top + j) * w + left + i) * 4, q = ((y + j) * 320 + x + i) * 4;
          if (p[k] === 0 && p[k + 1] === 255 && p[k + 2] === 255) continue;
          const [r, g] = [p[k] & 0xf8, p[k + 1] & 0xfc];
          const b = r === 0 && g === 0xfc && (p[k + 2] & 0xf8) === 0xf8 ? 0xf0 : p[k + 2] & 0xf8;
          count += screen[q] !== r || screen[q + 1] !== g || screen[q + 2] !== b;
        }
      }
    }
    return count;
  }
  window.ogSee = async (parts, ms, absent) => {
    for (const end = performance.now() + ms; ; await new Promise((resolve) => setTimeout(resolve, 5))) {
      if ((await misses(parts) === 0) !== absent) return true;
      if (performance.now() > end) return false;
    }
  };
}

// The pictures to compare with come from a server of the test's own, on
// another origin than the game, so that the game's service worker never
// keeps them and the game's server can be stopped.
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'og-web-'));
const roots = { '/repo-data/': path.join(repo, 'data'), '/desktop/': path.join(tmp, 'desktop') };
const pictureServer = http.createServer((request, response) => {
  const url = new URL(request.url, 'http://localhost').pathname;
  const prefix = Object.keys(roots).find((p) => url.startsWith(p));
  fs.readFile(prefix ? path.join(roots[prefix], url.slice(prefix.length)) : '/nonexistent', (error, body) =>
    (error ? response.writeHead(404).end()
      : response.writeHead(200, { 'Content-Type': 'image/png', 'Access-Control-Allow-Origin': '*' }).end(body)));
});
await new Promise((resolve) => pictureServer.listen(0, '127.0.0.1', resolve));
const pictures = `http://127.0.0.1:${pictureServer.address().port}`;

const size = (name) => { const png = fs.readFileSync(path.join(repo, 'data', `${name}.png`)); return [png.readUInt32BE(16), png.readUInt32BE(20)]; };
const picture = (name, x, y, height) => [`${pictures}/repo-data/${name}.png`, x, y, 0, 0, undefined, height];
// As draw_text: one cell for each character from 32 to 126, a pixel apart; x -1 centres.
function text(font, x, y, s) {
  const [w, h] = size(font), cell = w / 95;
  if (x === -1) x = 160 - Math.trunc((s.length * (cell + 1)) / 2);
  return [...s].map((c, i) => [`${pictures}/repo-data/${font}.png`, x + i * (cell + 1), y, (c.charCodeAt(0) - 32) * cell, 0, cell, h]);
}
const TITLE = [`${pictures}/desktop/main_menu.png`, 20, 50, 20, 50, ...size('title')];
const row = (font, name, score, i = 0) => [...text(font, 30, 64 + 12 * i, name), ...text(font, 120, 64 + 12 * i, String(score).padStart(7))];
const volume = (percent) => text('font3', -1, 215, `VOLUME ${String(percent).padStart(3)}%`);
const ON_NEW_GAME = [picture('selector', 280, 85), picture('button_newgame', 200, 75)];
const PAUSED = [picture('selector', 280, 60), picture('button_resume', 200, 50)];
const PLAYER_COUNT = [picture('button_player1', 200, 75)];
const TAKESCORE = picture('button_takescore', 10, 200, 25);  // the rows above the cursor
const SURE = picture('button_takescore_sure', 10, 200, 25);

// The game's server, as scripts/web starts it, on a free port.
const server = spawn('/usr/bin/python3', [path.join(repo, 'tools/serve.py'), '--port', '0', build], { stdio: ['ignore', 'pipe', 'inherit'] });
const announced = await new Promise((resolve) => server.stdout.once('data', (data) => resolve(String(data))));
const url = announced.match(/http:\S+/)[0];

const results = { passed: 0, failed: 0 };
let browser;
async function step(name, body) {
  if (results.failed) return;  // each step plays on from where the last one left the game
  const error = await body().then(() => null, (e) => e);
  results[error ? 'failed' : 'passed']++;
  console.log(error ? `not ok - ${name}\n  ${error.message}` : `ok - ${name}`);
}
const errors = [];
// A page at a viewport, with the means to look at its canvas and to press keys
// and touch it. Touches go through CDP as a touch screen's would.
async function open(viewport) {
  const page = await browser.newPage();
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  await page.evaluateOnNewDocument(pageHelper);
  await page.setViewport(viewport);
  const cdp = await page.createCDPSession();
  const seen = (parts, ms = 3000, absent = false) => page.evaluate((p, t, a) => ogSee(p, t, a), parts, ms, absent);
  const tap = async (key, hold = 0) => { await page.keyboard.down(key); await sleep(hold); await page.keyboard.up(key); await sleep(150); };
  // Fingers down at points, held, moved in ten steps to other points, lifted.
  const touch = async (points, hold = 0, to = points) => {
    const send = (type, at) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: at.map(([x, y], id) => ({ x, y, id })) });
    await send('touchStart', points);
    await sleep(hold);
    for (let i = 1; i <= 10 && to !== points; i++, await sleep(16)) {
      await send('touchMove', points.map(([x, y], k) => [x + (to[k][0] - x) * i / 10, y + (to[k][1] - y) * i / 10]));
    }
    await send('touchEnd', []);
    await sleep(150);
  };
  const box = (selector) => page.$eval(selector, (e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; });
  const centre = async (label) => { const [x, y, w, h] = await box(`[aria-label="${label}"]`); return [x + w / 2, y + h / 2]; };
  // Read through CDP: puppeteer's own evaluations count as a user's gesture.
  const soundWaits = async () => (await cdp.send('Runtime.evaluate', { expression: "!document.getElementById('sound').hidden", returnByValue: true })).result.value;
  return {
    page, seen, tap, touch, box, centre,
    see: async (what, parts, ms) => check(await seen(parts, ms), `not seen: ${what}`),
    keys: async (...list) => { for (const key of list) await tap(key); },
    shown: (selector) => page.$eval(selector, (e) => !e.hidden && getComputedStyle(e).display !== 'none' && getComputedStyle(e).visibility !== 'hidden'),
    button: async (label) => touch([await centre(label)]),
    // A tap on the pixel (x, y) of the game's 320x240 screen, wherever the page shows it.
    tapGame: async (x, y, hold) => { const [l, t, w, h] = await box('#canvas'); await touch([[l + (x + 0.5) * w / 320, t + (y + 0.5) * h / 240]], hold); },
    soundWaits,
    // Until the page says that sound waits: the first evaluation through
    // puppeteer counts as a user's gesture, which lets sound start.
    load: async () => {
      await page.goto(url);
      for (const end = Date.now() + 30000; !(await soundWaits()); await sleep(50)) check(Date.now() < end, 'sound did not wait');
    },
    still: async () => check(await page.evaluate(() => scrollX === 0 && scrollY === 0 && visualViewport.scale === 1 && visualViewport.offsetTop === 0
      && document.documentElement.scrollHeight <= innerHeight), 'the page moved'),
  };
}
const PHONE = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
// Each touch button at least 44x44, on the screen above the footer and clear
// of the canvas: below it upright, otherwise START left of it and the volume
// right of it. The canvas, 4:3, at least nine tenths of the largest that the
// room they leave allows.
async function laidOut(phone, width, upright) {
  const [left, top, w, h] = await phone.box('#canvas');
  const footer = (await phone.box('footer'))[1];
  const room = [0, 0, width, footer];
  for (const label of ['Start', 'Volume down', 'Mute', 'Volume up']) {
    const [x, y, bw, bh] = await phone.box(`[aria-label="${label}"]`);
    if (upright) room[3] = Math.min(room[3], y); else if (label === 'Start') room[0] = x + bw; else room[2] = Math.min(room[2], x);
    check(bw >= 44 && bh >= 44 && x >= 0 && y >= 0 && x + bw <= width && y + bh <= footer, `the button "${label}" at ${[x, y, bw, bh]}`);
  }
  const largest = Math.min((room[2] - room[0]) / 320, (room[3] - room[1]) / 240) * 320;
  check(left >= room[0] && top >= room[1] && left + w <= room[2] && top + h <= room[3] && w >= 0.9 * largest
    && Math.abs(h - w * 3 / 4) < 1, `the canvas at ${[left, top, w, h]} in the room ${room}`);
}

try {
  // The desktop's scratch folders, and Chromium's writes into the home folder, land in tmp.
  const env = { ...process.env, TMPDIR: tmp, HOME: tmp, XDG_CONFIG_HOME: tmp, XDG_CACHE_HOME: tmp };
  const shots = spawnSync(screenshots, [fs.mkdirSync(path.join(tmp, 'desktop'), { recursive: true })],
    { env: { ...env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy' }, encoding: 'utf8' });
  check(shots.status === 0, `og_screenshots: ${shots.stderr}`);
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', userDataDir: path.join(tmp, 'profile'), env, headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  let { page, see, seen, tap, keys, shown, load } = await open({ width: 1000, height: 800 });

  await step('the page loads with sound waiting for a key, scaled by a whole factor with crisp pixels, without touch buttons', async () => {
    await load();
    const canvas = await page.$eval('#canvas', (c) => [c.clientWidth, c.clientHeight, c.width, c.height, getComputedStyle(c).imageRendering].join());
    check(canvas === '960,720,320,240,pixelated', `the canvas at 1000x800: ${canvas}`);
    check(!(await shown('#pad-start')) && !(await shown('#pad-volume')) && await shown('footer .keys'), 'touch buttons without a touch screen');
  });
  // The tiles behind the title move a pixel a frame and repeat every 64 frames.
  await step("the main menu's title equals the desktop's frame pixel for pixel", () => see('the title', [TITLE], 30000));
  await step('the volume keys change the volume as Chrome sends them, and the first one starts sound', async () => {
    await tap('Equal');  // keyCode 187
    await see('+ gives 75%', volume(75));
    check(!(await shown('#sound')), 'sound did not start at the first key');
    await tap('Minus');  // keyCode 189
    await see('- gives 70%', volume(70));
  });
  await step('keys start a one-player game; the take-score button ends each of its three tables', async () => {
    await tap('Space');
    await see('the player-count menu', PLAYER_COUNT);
    await tap('Space');
    for (let table = 1; table <= 3; table++) {
      // Keys during the deal and the READY banner are dropped: try again.
      for (const end = Date.now() + 40000; ; check(Date.now() < end, `table ${table} could not be ended`)) {
        await keys('ArrowDown', 'ArrowRight');
        if (!(await seen([picture('selector', 20, 225)], 300))) continue;
        await tap('Space');
        if (await seen([SURE], 300)) break;
      }
      await tap('Space');
      check(await seen([SURE], 3000, true), `table ${table} went on`);
    }
    await see('the name entry', [picture('congrats', 160 - Math.trunc(size('congrats')[0] / 2), 5)], 20000);
  });
  await step('the high score saved by the name entry is still listed after a reload', async () => {
    await tap('Enter', 60);
    await see('the high-score list', [picture('topgorvels', 30, 40 - size('topgorvels')[1])]);
    const file = await page.evaluate(() => new TextDecoder().decode(FS.readFile('/scores')));
    const [name, score] = [file.slice(0, 20).replace(/\0+$/, ''), parseInt(file.slice(20, 26), 10)];
    check(name === 'Player 1' && score > 0, `the first row saved: ${JSON.stringify(file.slice(0, 27))}`);
    await see('the new row, highlighted', row('font2_hilite', name, score));
    await page.reload();
    await see('the main menu', ON_NEW_GAME, 30000);
    await keys('ArrowDown', 'Space');
    await see('the row after the reload', row('font2', name, score));
  });
  await step('a gamepad, shown to the page only once a button is pressed, moves and chooses as on the desktop', async () => {
    const press = async (button) => {
      for (const down of [true, false]) await page.evaluate((b, d) => window.ogPad(b, d), button, down), await sleep(120);
    };
    await press(13);  // the d-pad's down: High scores to How to play
    await see('the selector on How to play', [picture('selector', 280, 135)]);
    await press(0);  // A
    await see('the how-to-play page', [picture('instructions', 5, 5)]);
    await press(12);  // up again, to High scores
    await see('the selector on High scores', [picture('selector', 280, 110)]);
  });
  await step('Quit ends on a page that offers to play again', async () => {
    await keys('ArrowUp', 'ArrowUp', 'Space');
    await page.waitForFunction(() => document.body.classList.contains('ended'), { timeout: 5000 });
    check(await shown('#again') && !(await shown('#canvas')), 'the end page');
    await Promise.all([page.waitForNavigation(), tap('Enter')]);
    await see('a new main menu', ON_NEW_GAME, 30000);
  });
  await page.close();

  // A phone upright, then on its side, then a tablet: touches alone, the page never moving.
  const phone = await open(PHONE);
  await step('on a phone upright the canvas fills the room above the touch buttons, and the help speaks of taps', async () => {
    await phone.load();
    await phone.see('the main menu', ON_NEW_GAME, 30000);
    await laidOut(phone, 390, true);
    check(await phone.shown('footer .taps') && !(await phone.shown('footer .keys')), 'the help line');
    await phone.still();
  });
  await step('the first tap on a touch button starts sound; the volume buttons step, repeat and mute as the pad does', async () => {
    await phone.button('Volume up');
    await phone.see('VOL + gives 75%', volume(75));
    check(!(await phone.soundWaits()), 'sound did not start at the first tap');
    const MUTE = text('font3', -1, 215, 'MUTE');
    for (const [labels, hold, shows] of [[['Volume down'], 0, volume(70)], [['Mute'], 0, MUTE],
      [['Volume down', 'Volume up'], 0, volume(70)], [['Volume up'], 600, volume(100)]]) {
      await sleep(200);  // the pad takes a mute at most every 200 ms
      await phone.touch(await Promise.all(labels.map(phone.centre)), hold);
      await phone.see(`${labels} held ${hold} ms`, shows);
    }
    await phone.still();
  });
  await step('START on the touch button pauses a table and resumes it', async () => {
    await phone.button('Start');
    await phone.see('the player-count menu', PLAYER_COUNT);
    await phone.tapGame(213, 88);  // one player
    // A press during the deal and the READY banner is dropped: again.
    for (const end = Date.now() + 20000; !(await phone.seen(PAUSED, 500)); check(Date.now() < end, 'no pause menu')) {
      await phone.button('Start');
    }
    await phone.button('Start');
    await phone.see('the table again', [TAKESCORE]);
    check(await phone.seen(PAUSED, 300, true), 'the pause menu stayed');
    await phone.still();
  });
  // Taps twice on the take-score button end a table; the deal and the READY banner drop taps: again.
  const takeScore = async (phone, table) => {
    for (const end = Date.now() + 40000; !(await phone.seen([SURE], 300)); check(Date.now() < end, `table ${table} not armed`)) {
      await phone.tapGame(36, 215);
    }
    await phone.tapGame(36, 215);
    check(await phone.seen([SURE], 3000, true), `table ${table} went on`);
  };
  await step('a whole game by taps: each table taken with two taps on its button, the name accepted on the grid', async () => {
    for (let table = 1; table <= 3; table++) await takeScore(phone, table);
    await phone.see('the name entry', [picture('congrats', 160 - Math.trunc(size('congrats')[0] / 2), 5)], 20000);
    await phone.tapGame(230, 202);  // the grid's "}"
    await phone.see('the high-score list', [picture('topgorvels', 30, 40 - size('topgorvels')[1])]);
    // The desktop's game of this browser is listed too: the new row is the highlighted one.
    const file = await phone.page.evaluate(() => new TextDecoder().decode(FS.readFile('/scores')));
    const scores = [0, 1].map((i) => parseInt(file.slice(27 * i + 20, 27 * i + 26), 10));
    let lit = -1;
    for (const i of [0, 1]) if (await phone.seen(row('font2_hilite', 'Player 1', scores[i], i), 500)) lit = i;
    check(lit >= 0, `no new row lit among ${scores}`);
    await phone.page.reload();
    await phone.see('the main menu', ON_NEW_GAME, 30000);
    await phone.tapGame(238, 110);  // High scores
    await phone.see('the row after the reload', row('font2', 'Player 1', scores[lit], lit));
    await phone.still();
  });
  await step('a swipe and a pinch beside the game move nothing', async () => {
    await phone.touch([[195, 760]], 0, [[195, 580]]);
    await phone.touch([[150, 670], [240, 670]], 0, [[40, 670], [350, 670]]);
    await phone.still();
  });
  await step('on a phone on its side and on a tablet the touch buttons flank the canvas, which fills the room between them', async () => {
    await phone.page.setViewport({ ...PHONE, width: 844, height: 390, isLandscape: true });
    await sleep(300);
    await laidOut(phone, 844, false);
    await phone.button('Volume down');
    await phone.see('VOL - gives 64% (the reload began at 70%)', volume(64));
    await phone.still();
    await phone.page.setViewport({ ...PHONE, width: 1024, height: 768, deviceScaleFactor: 2, isLandscape: true });
    await sleep(300);
    await laidOut(phone, 1024, false);
  });
  await step('on its side a table is played by taps too', async () => {
    await phone.page.setViewport({ ...PHONE, width: 844, height: 390, isLandscape: true });
    await sleep(300);
    await phone.tapGame(238, 85);  // New game
    await phone.see('the player-count menu', PLAYER_COUNT);
    await phone.tapGame(213, 88);  // one player
    await takeScore(phone, 1);
    await phone.still();
  });
  await step('after one visit the page starts and plays with the server gone', async () => {
    await phone.page.evaluate(() => navigator.serviceWorker.ready);
    server.kill();
    await phone.page.reload();
    await phone.see('the main menu', ON_NEW_GAME, 30000);
    await phone.button('Start');
    await phone.see('the player-count menu', PLAYER_COUNT);
  });
  await step('nothing went wrong on the pages', async () => check(errors.length === 0, errors.join('\n')));
} catch (error) {
  results.failed++;
  console.log(`not ok - ${error.message}`);
} finally {
  await browser?.close();
  server.kill();
  pictureServer.close();
  fs.rmSync(tmp, { recursive: true, force: true });
}
console.log(`${results.passed} passed, ${results.failed} failed`);
process.exit(results.failed ? 1 : 0);
