// What the browser tests share: the site served on loopback, headless Chromium with a fresh
// profile, the game's frames read back from the page, and the desktop's frames of the same
// run of events from web_replay.
"use strict";
const assert = require("node:assert/strict");
const { execFileSync } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const puppeteer = require("puppeteer-core");
const { PNG } = require("pngjs");
const { start } = require("../../scripts/web-serve.js");

const W = 500, H = 350;
const env = {
  replay: process.env.BRACKLE_REPLAY,  // build/tests/web_replay
  site: process.env.BRACKLE_SITE,  // build-web/site
  shortTuneSite: process.env.BRACKLE_SHORT_TUNE_SITE,  // build-web/site-short-tune
  shots: process.env.BRACKLE_SHOTS,  // where the screenshots go
};
for (const [k, v] of Object.entries(env)) assert.ok(v, `the browser tests need ${k}`);
fs.mkdirSync(env.shots, { recursive: true });

const tempDir = (tag) => fs.mkdtempSync(path.join(os.tmpdir(), `brackle ${tag} `));

async function serve(folder) {
  const server = await start(folder, 0);
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// Chromium as a player's browser would be, with nothing reaching out of the machine.
async function launch({ dpr = 1, width = 900, height = 650, profile = tempDir("profile"),
                        autoplay = false } = {}) {
  const args = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    `--window-size=${width},${height}`, `--force-device-scale-factor=${dpr}`];
  args.push(`--autoplay-policy=${autoplay ? "no-user-gesture-required" : "document-user-activation-required"}`);
  const browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true,
    userDataDir: profile, args, defaultViewport: null });
  browser.profile = profile;
  return browser;
}

// The game's page, once its first frame is shown. Every console error is kept: the game's
// standard error, a string without a baked mask, a failed tune.
async function open(browser, url) {
  const [page] = await browser.pages();
  page.errors = [];
  page.on("console", (m) => { if (m.type() === "error") page.errors.push(m.text()); });
  page.on("pageerror", (e) => page.errors.push(String(e)));
  await page.goto(url);
  await page.waitForFunction(() => window.Module && Module.brackle.firstFrameAt !== null,
                             { polling: 10, timeout: 30000 });
  return page;
}

const frameOf = (page) => page.evaluate(() => Module.brackle.frameCount);
async function untilFrame(page, n, timeout = 120000) {
  await page.waitForFunction((n) => Module.brackle.frameCount >= n, { polling: 5, timeout }, n);
}
const frames = async (page, n) => untilFrame(page, (await frameOf(page)) + n);

// The picture on the canvas now and its frame, read in one go while the game waits. Every
// device pixel is checked: a whole-step block of one colour per picture pixel, black around.
async function readPicture(page) {
  const got = await page.evaluate(() => {
    const c = document.getElementById("screen");
    const v = Module.brackle.view();
    const d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    const pw = 500, ph = 350, out = new Uint8Array(pw * ph * 3);
    let bad = 0;
    for (let y = 0; y < c.height; ++y) {
      for (let x = 0; x < c.width; ++x) {
        const i = 4 * (y * c.width + x);
        const px = Math.floor((x - v.left) / v.scale), py = Math.floor((y - v.top) / v.scale);
        if (px < 0 || py < 0 || px >= pw || py >= ph) {
          if (d[i] || d[i + 1] || d[i + 2]) ++bad;
          continue;
        }
        const o = 3 * (py * pw + px);
        if ((x - v.left) % v.scale === 0 && (y - v.top) % v.scale === 0) {
          out[o] = d[i], out[o + 1] = d[i + 1], out[o + 2] = d[i + 2];
        } else if (out[o] !== d[i] || out[o + 1] !== d[i + 1] || out[o + 2] !== d[i + 2]) {
          ++bad;
        }
      }
    }
    let s = "";
    for (let i = 0; i < out.length; i += 8192) s += String.fromCharCode(...out.subarray(i, i + 8192));
    return { frame: Module.brackle.frameCount, rgb: btoa(s), bad, view: v };
  });
  assert.equal(got.bad, 0, "device pixels off the whole-step blocks or the black border");
  return { frame: got.frame, rgb: Buffer.from(got.rgb, "base64"), view: got.view };
}

// The desktop's run of the same events: every frame's hash, the cleared stages, the record
// it saved, and the pictures of the frames asked for.
function desktop(script, { frames: last, pictures = [], save } = {}) {
  const dir = tempDir("replay");
  const scriptFile = path.join(dir, "run.events");
  fs.writeFileSync(scriptFile, script);
  const args = ["--frames", String(last), "--saved", path.join(dir, "clear.sav")];
  if (save) {
    fs.writeFileSync(path.join(dir, "start.sav"), save);
    args.push("--save", path.join(dir, "start.sav"));
  }
  for (const n of pictures) args.push("--picture", String(n), path.join(dir, `${n}.ppm`));
  const out = execFileSync(env.replay, [...args, scriptFile], { encoding: "utf8",
                           maxBuffer: 1 << 26, env: { ...process.env, SDL_AUDIODRIVER: "dummy" } });
  const hashes = [];
  let cleared = [];
  for (const line of out.split("\n")) {
    const w = line.split(" ");
    if (w[0] === "frame") hashes[Number(w[1]) - 1] = w[2];
    if (w[0] === "cleared") cleared = w.slice(1).map(Number);
  }
  const picture = {};
  for (const n of pictures) {
    const ppm = fs.readFileSync(path.join(dir, `${n}.ppm`));
    picture[n] = ppm.subarray(ppm.length - W * H * 3);
  }
  const saved = fs.existsSync(path.join(dir, "clear.sav")) ? fs.readFileSync(path.join(dir, "clear.sav")) : null;
  fs.rmSync(dir, { recursive: true, force: true });
  return { hashes, cleared, picture, saved };
}

// Asserts two pictures are the same, naming the first pixel that is not.
function samePicture(web, want, what) {
  assert.equal(web.length, want.length);
  let differ = 0, first = -1;
  for (let i = 0; i < web.length; i += 3) {
    if (web[i] !== want[i] || web[i + 1] !== want[i + 1] || web[i + 2] !== want[i + 2]) {
      if (first < 0) first = i / 3;
      ++differ;
    }
  }
  assert.equal(differ, 0, `${what}: ${differ} pixels differ from the desktop's, the first at ` +
               `(${first % W}, ${Math.floor(first / W)})`);
}

// The events the page delivered, as an event script for the desktop.
const deliveredEvents = (page) => page.evaluate(() => Module.brackle.log.join("\n") + "\n");

// The page position of a play-surface pixel's centre.
async function toClient(page, x, y) {
  const v = await page.evaluate(() => ({ ...Module.brackle.view(), dpr: devicePixelRatio }));
  return [(v.left + x * v.scale + v.scale / 2) / v.dpr, (v.top + y * v.scale + v.scale / 2) / v.dpr];
}

// A press held across frames, as the game needs (a press and release in one wait are lost).
async function click(page, x, y) {
  const [cx, cy] = await toClient(page, x, y);
  await page.mouse.move(cx, cy);
  await frames(page, 2);
  await page.mouse.down();
  await frames(page, 2);
  await page.mouse.up();
}

async function screenshot(page, name) {
  const file = path.join(env.shots, `${name}.png`);
  await page.screenshot({ path: file });
  return file;
}
const decodePng = (file) => PNG.sync.read(fs.readFileSync(file));

module.exports = { W, H, env, tempDir, serve, launch, open, frameOf, untilFrame, frames,
  readPicture, desktop, samePicture, deliveredEvents, toClient, click, screenshot, decodePng };
