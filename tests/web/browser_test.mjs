// The browser build played with keys in headless Debian Chromium, checked
// against the desktop's frames (build-test/tests/og_screenshots).
// Usage: node tests/web/browser_test.mjs [BUILD_DIR]   (default build-web)
import { spawnSync } from 'node:child_process';
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

const size = (name) => { const png = fs.readFileSync(path.join(repo, 'data', `${name}.png`)); return [png.readUInt32BE(16), png.readUInt32BE(20)]; };
const picture = (name, x, y, height) => [`/repo-data/${name}.png`, x, y, 0, 0, undefined, height];
// As draw_text: one cell for each character from 32 to 126, a pixel apart; x -1 centres.
function text(font, x, y, s) {
  const [w, h] = size(font), cell = w / 95;
  if (x === -1) x = 160 - Math.trunc((s.length * (cell + 1)) / 2);
  return [...s].map((c, i) => [`/repo-data/${font}.png`, x + i * (cell + 1), y, (c.charCodeAt(0) - 32) * cell, 0, cell, h]);
}
const TITLE = ['/desktop/main_menu.png', 20, 50, 20, 50, ...size('title')];
const row = (font, name, score) => [...text(font, 30, 64, name), ...text(font, 120, 64, String(score).padStart(7))];
const ON_NEW_GAME = [picture('selector', 280, 85), picture('button_newgame', 200, 75)];
const SURE = picture('button_takescore_sure', 10, 200, 25);  // the rows above the cursor

const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'og-web-'));
const roots = { '/repo-data/': path.join(repo, 'data'), '/desktop/': path.join(tmp, 'desktop'), '/': build };
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png' };
const server = http.createServer((request, response) => {
  const url = new URL(request.url, 'http://localhost').pathname;
  const prefix = Object.keys(roots).find((p) => url.startsWith(p));
  const file = path.join(roots[prefix], url.slice(prefix.length) || 'index.html');
  fs.readFile(file, (error, body) => (error ? response.writeHead(404).end()
    : response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' }).end(body)));
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const url = `http://127.0.0.1:${server.address().port}/`;
const results = { passed: 0, failed: 0 };
let browser;
async function step(name, body) {
  if (results.failed) return;  // each step plays on from where the last one left the game
  const error = await body().then(() => null, (e) => e);
  results[error ? 'failed' : 'passed']++;
  console.log(error ? `not ok - ${name}\n  ${error.message}` : `ok - ${name}`);
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
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  await page.evaluateOnNewDocument(pageHelper);
  await page.setViewport({ width: 1000, height: 800 });
  const seen = (parts, ms = 3000, absent = false) => page.evaluate((p, t, a) => ogSee(p, t, a), parts, ms, absent);
  const see = async (what, parts, ms) => check(await seen(parts, ms), `not seen: ${what}`);
  const tap = async (key, hold = 0) => { await page.keyboard.down(key); await sleep(hold); await page.keyboard.up(key); await sleep(150); };
  const keys = async (...list) => { for (const key of list) await tap(key); };
  const shown = (selector) => page.$eval(selector, (e) => !e.hidden && getComputedStyle(e).visibility !== 'hidden');

  await step('the page loads with sound waiting for a key, scaled by a whole factor with crisp pixels', async () => {
    await page.goto(url);
    // Read through CDP: puppeteer's own evaluations count as a user's gesture.
    const cdp = await page.createCDPSession();
    const hint = () => cdp.send('Runtime.evaluate', { expression: "!document.getElementById('sound').hidden", returnByValue: true });
    for (const end = Date.now() + 30000; !(await hint()).result.value; await sleep(50)) check(Date.now() < end, 'sound did not wait');
    const box = await page.$eval('#canvas', (c) => [c.clientWidth, c.clientHeight, c.width, c.height, getComputedStyle(c).imageRendering].join());
    check(box === '960,720,320,240,pixelated', `the canvas at 1000x800: ${box}`);
  });
  // The tiles behind the title move a pixel a frame and repeat every 64 frames.
  await step("the main menu's title equals the desktop's frame pixel for pixel", () => see('the title', [TITLE], 30000));
  await step('the volume keys change the volume as Chrome sends them, and the first one starts sound', async () => {
    const volume = (percent) => text('font3', -1, 215, `VOLUME ${String(percent).padStart(3)}%`);
    await tap('Equal');  // keyCode 187
    await see('+ gives 75%', volume(75));
    check(!(await shown('#sound')), 'sound did not start at the first key');
    await tap('Minus');  // keyCode 189
    await see('- gives 70%', volume(70));
  });
  await step('keys start a one-player game; the take-score button ends each of its three tables', async () => {
    await tap('Space');
    await see('the player-count menu', [picture('button_player1', 200, 75)]);
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
  await step('Quit ends on a page that offers to play again, and nothing went wrong on the page', async () => {
    await keys('ArrowUp', 'ArrowUp', 'Space');
    await page.waitForFunction(() => document.body.classList.contains('ended'), { timeout: 5000 });
    check(await shown('#again') && !(await shown('#canvas')), 'the end page');
    await Promise.all([page.waitForNavigation(), tap('Enter')]);
    await see('a new main menu', ON_NEW_GAME, 30000);
    check(errors.length === 0, errors.join('\n'));
  });
} catch (error) {
  results.failed++;
  console.log(`not ok - ${error.message}`);
} finally {
  await browser?.close();
  server.close();
  fs.rmSync(tmp, { recursive: true, force: true });
}
console.log(`${results.passed} passed, ${results.failed} failed`);
process.exit(results.failed ? 1 : 0);
