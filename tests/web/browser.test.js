// The browser build in headless Chromium: the same run of events gives the desktop's picture
// on every frame; played by the mouse and by keys it shows the desktop's pictures; the
// cleared record outlives a reload and a browser restart; the picture is exact on every
// device pixel ratio; the tune loops and M pauses it; sound waits for the first input.
"use strict";
const { test } = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const s = require("./support.js");

const script = fs.readFileSync(path.join(__dirname, "stage1.events"), "utf8");
const scriptFrames = 330;  // the run ends on the stage list, stage 1 cleared

// Runs `body(page)` on a fresh browser serving `site` (or on options.server, whose origin
// keeps its storage); the page must log no error.
async function withGame(options, body, site = s.env.site) {
  const server = options.server || (await s.serve(site));
  const browser = await s.launch(options);
  try {
    const page = await s.open(browser, server.url + (options.query || ""));
    await body(page);
    assert.deepEqual(page.errors, [], "the page logged errors");
  } finally {
    await browser.close();
    if (!options.server) server.close();
  }
}

test("a scripted run shows the desktop's picture on every frame", async () => {
  const want = s.desktop(script, { frames: scriptFrames });
  assert.deepEqual(want.cleared, [1], "the script no longer clears stage 1 on the desktop");
  const query = "?record&script=" + encodeURIComponent("data:text/plain," + encodeURIComponent(script));
  await withGame({ query }, async (page) => {
    await s.untilFrame(page, scriptFrames + 1);
    const web = await page.evaluate((n) => Module.brackle.frames.slice(0, n), scriptFrames);
    const first = web.findIndex((h, i) => h !== want.hashes[i]);
    assert.equal(first, -1, `frame ${first + 1} differs from the desktop's`);
    assert.equal(web.length, scriptFrames);
    // The page delivered exactly the script, each event in its frame.
    const delivered = await s.deliveredEvents(page);
    assert.deepEqual(delivered.trim().split("\n"),
                     script.split("\n").map((l) => l.replace(/#.*/, "").trim()).filter(Boolean));
  });
});

// Plays the title, the list and stage 1 in real time, reading the picture of each screen,
// then has the desktop replay what the page delivered and compares those frames.
async function playStage1(page, name, move) {
  const seen = {};
  const look = async (screen) => {
    seen[screen] = await s.readPicture(page);
    await s.screenshot(page, `${name}-${screen}`);
  };
  await s.frames(page, 3);
  await look("title");
  await s.click(page, 250, 175);
  await s.frames(page, 50);  // the fade out, the list's fade in
  await page.mouse.move(1, 1);
  await s.frames(page, 3);
  await look("list");
  await s.click(page, 100, 120);
  await s.frames(page, 60);  // the fades into stage 1
  await look("play");
  await move();
  await s.frames(page, 12);
  await look("clear");
  await s.frames(page, 100);  // the banner, the fade back to the list
  await look("cleared-list");
  const events = await s.deliveredEvents(page);
  const want = s.desktop(events, { frames: seen["cleared-list"].frame,
                                   pictures: Object.values(seen).map((p) => p.frame) });
  assert.deepEqual(want.cleared, [1], "the desktop's replay of the page's events cleared no stage");
  for (const [screen, p] of Object.entries(seen))
    s.samePicture(p.rgb, want.picture[p.frame], `${name}: the ${screen} at frame ${p.frame}`);
  return { events, want };
}

test("played by the mouse at 1x, every screen is the desktop's picture", async () => {
  await withGame({ width: 760, height: 560, query: "?record" }, async (page) => {
    assert.equal((await page.evaluate(() => Module.brackle.view())).scale, 1);
    await playStage1(page, "mouse-1x", async () => {
      // Each move: point at the side of the walker, then click.
      for (const [x, y] of [[272, 152], [304, 168], [296, 184], [264, 200]]) {
        await s.click(page, x, y);
        await s.frames(page, 18);
      }
    });
  });
});

test("by touch a tap clicks and two fingers scroll without a move, as the desktop draws it", async () => {
  await withGame({ query: "?record" }, async (page) => {
    const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
    const touch = async (x, y) => page.touchscreen.touchStart(...(await s.toClient(page, x, y)));
    const tap = async (x, y) => {  // shorter than a frame
      const t = await touch(x, y);
      await sleep(30);
      await t.end();
    };
    await s.frames(page, 3);
    const seen = [await s.readPicture(page)];
    await tap(250, 175);
    await s.frames(page, 50);
    seen.push(await s.readPicture(page));
    await tap(100, 120);
    await s.frames(page, 60);
    seen.push(await s.readPicture(page));
    const before = (await s.deliveredEvents(page)).trim().split("\n").length;
    // The second finger lands within the grace: the first only points, the second scrolls.
    const one = await touch(272, 152);
    await sleep(40);
    const two = await touch(450, 320);
    await s.frames(page, 8);
    await two.end();
    await one.end();
    await s.frames(page, 4);
    seen.push(await s.readPicture(page));
    const events = await s.deliveredEvents(page);
    const lines = events.trim().split("\n");
    // Two taps and the pair's right press, no left one: the pair pressed only the right.
    const presses = lines.filter((l) => / down /.test(l)).map((l) => l.split(" ").slice(0, 3).join(" "));
    const releases = lines.filter((l) => / up /.test(l)).map((l) => Number(l.split(" ")[0]));
    assert.equal(presses.length, 3, events);
    assert.ok(presses[2].endsWith("down 2") && lines.slice(before).every((l) => !/ down 1 /.test(l)), events);
    assert.ok(releases.length >= 3, events);
    const want = s.desktop(events, { frames: seen[3].frame, pictures: seen.map((p) => p.frame) });
    seen.forEach((p, i) => s.samePicture(p.rgb, want.picture[p.frame], `touch picture ${i}`));
    // The title, the list, the stage and the scrolled stage are four different pictures.
    for (let i = 1; i < seen.length; ++i) assert.notDeepEqual(seen[i].rgb, seen[i - 1].rgb, `touch picture ${i}`);
  });
});

test("the rules card, a hint, redo and the assist view by keys are the desktop's pictures", async () => {
  await withGame({ query: "?record" }, async (page) => {
    const seen = {};
    const look = async (what) => { seen[what] = await s.readPicture(page); };
    const press = async (key, n = 3) => {
      await page.keyboard.press(key);
      await s.frames(page, n);
    };
    await s.frames(page, 3);
    await press("F1");
    await look("card");
    await press("x");  // any key closes it
    await press("Enter", 50);  // the title left by a key, the list faded in
    await press("ArrowDown");
    await look("list by keys");
    await press(" ", 60);  // stage 1 started by Space
    await press("h");
    await look("hint");
    await press("h", 12);  // the hint's move made
    await press("Backspace", 3);
    await press("y", 12);  // and made again
    await press("a");
    await look("assist");
    const events = await s.deliveredEvents(page);
    const frames = Object.values(seen).map((p) => p.frame);
    const want = s.desktop(events, { frames: Math.max(...frames), pictures: frames });
    for (const [what, p] of Object.entries(seen))
      s.samePicture(p.rgb, want.picture[p.frame], `the ${what} at frame ${p.frame}`);
    for (let i = 1; i < frames.length; ++i) assert.notEqual(frames[i], frames[i - 1]);
  });
});

test("played by keys at 2x, every screen is the desktop's picture; the clear outlives a reload and a restart",
     async () => {
  const profile = s.tempDir("kept profile");
  // One origin throughout: the browser keeps a site's storage by its address and port.
  const server = await s.serve(s.env.site);
  let saved;
  await withGame({ width: 1100, height: 860, profile, server, query: "?record" }, async (page) => {
    assert.equal((await page.evaluate(() => Module.brackle.view())).scale, 2);
    const { want } = await playStage1(page, "keys-2x", async () => {
      // Down right twice, down left twice; Backspace takes one back and the arrow redoes it.
      for (const key of ["ArrowRight", "ArrowRight", "ArrowDown", "Backspace", "ArrowDown", "ArrowDown"]) {
        await page.keyboard.press(key);
        await s.frames(page, 12);
      }
    });
    saved = want.saved;
    const web = await page.evaluate(() => Array.from(FS.readFile("/brackle/clear.sav")));
    assert.deepEqual(Buffer.from(web), saved, "the page's clear.sav is not the desktop's");
    // F11 and Alt+Enter are the browser's full screen, and no key of the game's.
    const keys = (await s.deliveredEvents(page)).split("\n").filter((l) => / key /.test(l)).length;
    const full = () => page.evaluate(() => document.fullscreenElement !== null);
    await page.keyboard.press("F11");
    await page.waitForFunction(() => document.fullscreenElement !== null, { polling: 10 });
    await s.frames(page, 2);
    await s.readPicture(page);  // still whole steps and black around, at the new size
    await page.keyboard.down("Alt");
    await page.keyboard.press("Enter");
    await page.keyboard.up("Alt");
    await page.waitForFunction(() => document.fullscreenElement === null, { polling: 10 });
    assert.equal(await full(), false);
    await s.frames(page, 2);
    const after = (await s.deliveredEvents(page)).split("\n").filter((l) => / key /.test(l)).length;
    assert.equal(after, keys, "a full-screen key reached the game");
  });
  // A reload, then a new browser on the same profile: the record is read back from the
  // browser's storage and the list shows stage 1 cleared, as the desktop's does.
  try {
    for (const round of ["reload", "restart"]) {
      const browser = await s.launch({ profile });
      try {
        let page = await s.open(browser, server.url + "?record");
        if (round === "reload") {
          await page.reload();
          await page.waitForFunction(() => Module.brackle.firstFrameAt !== null, { polling: 10 });
        }
        const kept = await page.evaluate(() => Array.from(FS.readFile("/brackle/clear.sav")));
        assert.deepEqual(Buffer.from(kept), saved, `after the ${round}`);
        await s.click(page, 250, 175);
        await s.frames(page, 50);
        await page.mouse.move(1, 1);
        await s.frames(page, 2);
        const list = await s.readPicture(page);
        const want = s.desktop(await s.deliveredEvents(page), { frames: list.frame, pictures: [list.frame], save: saved });
        s.samePicture(list.rgb, want.picture[list.frame], `the list after the ${round}`);
        assert.deepEqual(page.errors, []);
      } finally {
        await browser.close();
      }
    }
  } finally {
    server.close();
  }
});

test("the screen's device pixels are the picture's at ratios 1, 1.5 and 2", async () => {
  for (const dpr of [1, 1.5, 2]) {
    await withGame({ dpr, width: 900, height: 650, query: "?record" }, async (page) => {
      await s.click(page, 250, 175);
      await s.frames(page, 50);
      // The frames before and after the screenshot: it shows one of them.
      const before = await s.frameOf(page);
      const file = await s.screenshot(page, `list-dpr-${dpr}`);
      const after = await s.frameOf(page);
      const view = await page.evaluate(() => Module.brackle.view());
      const shot = s.decodePng(file);
      assert.equal(shot.width, view.width, "the screenshot is not in device pixels");
      assert.equal(view.scale, Math.max(1, Math.floor(Math.min(view.width / s.W, view.height / s.H))));
      const range = [];
      for (let n = before; n <= after; ++n) range.push(n);
      const want = s.desktop(await s.deliveredEvents(page), { frames: after, pictures: range });
      const matches = range.filter((n) => {
        const pic = want.picture[n];
        for (let y = 0; y < shot.height; ++y) {
          for (let x = 0; x < shot.width; ++x) {
            const i = 4 * (y * shot.width + x);
            const px = Math.floor((x - view.left) / view.scale), py = Math.floor((y - view.top) / view.scale);
            const inside = px >= 0 && py >= 0 && px < s.W && py < s.H;
            const o = 3 * (py * s.W + px);
            const [r, g, b] = inside ? [pic[o], pic[o + 1], pic[o + 2]] : [0, 0, 0];
            if (shot.data[i] !== r || shot.data[i + 1] !== g || shot.data[i + 2] !== b) return false;
          }
        }
        return true;
      });
      assert.ok(matches.length > 0, `at ratio ${dpr} the screen is none of frames ${before}..${after}`);
    });
  }
});

test("sound starts with the player's first press, not before", async () => {
  // Nothing is asked of the page before the press: the tools' calls would count as input.
  const server = await s.serve(s.env.site);
  const browser = await s.launch({ width: 760, height: 560 });
  try {
    const [page] = await browser.pages();
    await page.goto(server.url);
    await new Promise((r) => setTimeout(r, 2000));
    await page.mouse.move(380, 250);
    await new Promise((r) => setTimeout(r, 300));
    await page.mouse.down();
    await new Promise((r) => setTimeout(r, 300));
    await page.mouse.up();
    await new Promise((r) => setTimeout(r, 1000));
    const log = await page.evaluate(() => ({ inputAt: Module.brackle.inputAt,
                                             audio: Module.brackle.audioLog }));
    const what = JSON.stringify(log);
    assert.equal(log.audio[0].what, "suspended", what);
    const sounds = log.audio.filter((e) => ["running", "play", "click"].includes(e.what));
    assert.deepEqual(sounds.map((e) => e.what), ["running", "play", "click"], what);
    assert.ok(sounds.every((e) => e.t >= log.inputAt), what);
  } finally {
    await browser.close();
    server.close();
  }
});

test("the tune loops through the game's status polls and M pauses it where it is", async () => {
  await withGame({ autoplay: true }, async (page) => {
    const audio = () => page.evaluate(() => Module.brackle.audioLog);
    await new Promise((r) => setTimeout(r, 3000));
    const plays = (await audio()).filter((e) => e.what === "play");
    // The test tune is half a second: restarted from the start each time it has played.
    assert.ok(plays.length >= 3, JSON.stringify(plays));
    for (let i = 1; i < plays.length; ++i) {
      assert.equal(plays[i].at, 0);
      assert.ok(plays[i].t - plays[i - 1].t >= 500, "restarted before the tune's end");
    }
    await page.keyboard.press("m");
    await page.waitForFunction(() => Module.brackle.audioLog.some((e) => e.what === "pause"), { polling: 10 });
    await new Promise((r) => setTimeout(r, 1500));
    let log = await audio();
    const pause = log.findIndex((e) => e.what === "pause");
    assert.equal(log.slice(pause + 1).filter((e) => e.what === "play").length, 0, "played on while paused");
    await page.keyboard.press("m");
    await page.waitForFunction((n) => Module.brackle.audioLog.length > n, { polling: 10 }, log.length);
    log = await audio();
    const resumed = log.slice(pause + 1).find((e) => e.what === "play");
    assert.equal(resumed.at, log[pause].at, "M did not go on from where it paused");
  }, s.env.shortTuneSite);
});

test("the server gives only what lies in its folder, and a malformed address ends nothing", async () => {
  const http = require("node:http");
  const root = fs.mkdtempSync(path.join(require("node:os").tmpdir(), "web serve "));
  fs.mkdirSync(path.join(root, "site"));
  fs.mkdirSync(path.join(root, "site-files"));  // a sibling whose name begins the same
  fs.writeFileSync(path.join(root, "site", "index.html"), "page");
  fs.writeFileSync(path.join(root, "site-files", "other.txt"), "not for the page");
  const server = await require("../../scripts/web-serve.js").start(path.join(root, "site"), 0);
  const get = (address) => new Promise((resolve, reject) => {
    http.get({ host: "127.0.0.1", port: server.address().port, path: address }, (res) => {
      let body = "";
      res.on("data", (d) => (body += d));
      res.on("end", () => resolve({ status: res.statusCode, body }));
    }).on("error", reject);
  });
  try {
    assert.equal((await get("/..%2fsite-files/other.txt")).status, 403);
    assert.equal((await get("/..%2f..%2fetc/passwd")).status, 403);
    assert.equal((await get("/%E0%A4%A")).status, 400);
    assert.deepEqual(await get("/"), { status: 200, body: "page" });
  } finally {
    server.close();
    fs.rmSync(root, { recursive: true, force: true });
  }
});
