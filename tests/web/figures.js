// Measures the browser build (scripts/web.sh --figures): what a first visit transfers
// (compressed as served), the time from the page's start to the game's first frame on a
// fresh profile and on a reload, and what a play frame costs the game in the browser.
"use strict";
const fs = require("node:fs");
const http = require("node:http");
const path = require("node:path");
const s = require("./support.js");

const median = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];

// Asks for every file once, so the server has compressed it before the timed visits.
const warm = (url, names) => Promise.all(names.map((name) => new Promise((resolve, reject) => {
  http.get(url + name, { headers: { "Accept-Encoding": "gzip" } }, (res) => {
    res.resume();
    res.on("end", resolve);
  }).on("error", reject);
})));

(async () => {
  const server = await s.serve(s.env.site);
  try {
    await warm(server.url, fs.readdirSync(s.env.site));
    const first = [], reload = [];
    let transfer = null;
    for (let run = 0; run < 3; ++run) {
      const browser = await s.launch();
      try {
        const page = await s.open(browser, server.url);
        first.push(await page.evaluate(() => Module.brackle.firstFrameAt));
        if (!transfer) {
          await page.waitForFunction(() => performance.getEntriesByType("resource")
            .some((e) => e.name.endsWith("run.mp3") && e.responseEnd > 0), { polling: 50 });
          transfer = await page.evaluate(() => [...performance.getEntriesByType("navigation"),
            ...performance.getEntriesByType("resource")].map((e) => ({
            name: e.name.replace(/.*\//, "") || "index.html", bytes: e.encodedBodySize,
            headers: e.transferSize - e.encodedBodySize })));
        }
        await page.reload();
        await page.waitForFunction(() => Module.brackle.firstFrameAt !== null, { polling: 10 });
        reload.push(await page.evaluate(() => Module.brackle.firstFrameAt));
      } finally {
        await browser.close();
      }
    }
    // The scripted run through stage 1: its play frames, from the field's first frame to
    // the banner, as the game's own time per frame.
    const script = fs.readFileSync(path.join(__dirname, "stage1.events"), "utf8");
    const browser = await s.launch();
    let busy;
    try {
      const page = await s.open(browser, server.url + "?record&script=" +
        encodeURIComponent("data:text/plain," + encodeURIComponent(script)));
      await s.untilFrame(page, 200);
      busy = (await page.evaluate(() => Module.brackle.busy)).slice(100, 190);
    } finally {
      await browser.close();
    }
    const total = transfer.reduce((n, e) => n + e.bytes, 0);
    for (const e of transfer) console.log(`  ${e.name.padEnd(16)} ${(e.bytes / 1024).toFixed(0).padStart(6)} KB`);
    console.log(`transfer of a first visit, as served (gzip; the tune as MP3): ${(total / 1048576).toFixed(2)} MB`);
    console.log(`load to first frame, fresh profile: ${first.map((t) => t.toFixed(0)).join(", ")} ms`);
    console.log(`load to first frame, reload: ${reload.map((t) => t.toFixed(0)).join(", ")} ms`);
    console.log(`play frame, the game's own time: median ${median(busy).toFixed(2)} ms, ` +
                `max ${Math.max(...busy).toFixed(2)} ms over ${busy.length} frames`);
  } finally {
    server.close();
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
