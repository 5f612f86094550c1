// A static web server for the browser build's site, on 127.0.0.1 only: compressed transfers
// where the browser takes them, revalidation by ETag, the types a page's files need.
//   node scripts/web-serve.js FOLDER [PORT]      (PORT 0 picks a free one)
// Also a module: start(folder, port) resolves to the server, whose port is in address().
"use strict";
const http = require("http");
const fs = require("fs");
const path = require("path");
const zlib = require("zlib");

const types = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".wasm": "application/wasm",
  ".data": "application/octet-stream", ".mp3": "audio/mpeg", ".txt": "text/plain; charset=utf-8",
};
const compressed = new Map();  // file -> {stamp, body}

function gzipped(file, stat) {
  const stamp = `${stat.size}-${stat.mtimeMs}`;
  const known = compressed.get(file);
  if (known && known.stamp === stamp) return known.body;
  const body = zlib.gzipSync(fs.readFileSync(file), { level: 9 });
  compressed.set(file, { stamp, body });
  return body;
}

function start(folder, port) {
  const root = path.resolve(folder);
  const server = http.createServer((req, res) => {
    let file;
    try {
      file = path.join(root, decodeURIComponent(new URL(req.url, "http://localhost").pathname));
    } catch (_) {  // a malformed escape must not end the server
      return res.writeHead(400).end();
    }
    // Only what lies inside the folder: not a sibling folder whose name begins the same.
    if (file !== root && !file.startsWith(root + path.sep)) return res.writeHead(403).end();
    fs.stat(file, (err, stat) => {
      if (!err && stat.isDirectory()) {
        file = path.join(file, "index.html");
        try { stat = fs.statSync(file); } catch (e) { err = e; }
      }
      if (err) return res.writeHead(404).end();
      const etag = `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`;
      const headers = { "Content-Type": types[path.extname(file)] || "application/octet-stream",
                        "Cache-Control": "no-cache", ETag: etag, Vary: "Accept-Encoding" };
      if (req.headers["if-none-match"] === etag) return res.writeHead(304, headers).end();
      // MP3 is compressed already.
      const zip = /\bgzip\b/.test(req.headers["accept-encoding"] || "") && path.extname(file) !== ".mp3";
      const body = zip ? gzipped(file, stat) : fs.readFileSync(file);
      if (zip) headers["Content-Encoding"] = "gzip";
      headers["Content-Length"] = body.length;
      res.writeHead(200, headers);
      res.end(req.method === "HEAD" ? undefined : body);
    });
  });
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(port, "127.0.0.1", () => resolve(server));
  });
}

module.exports = { start };

if (require.main === module) {
  const [folder, port = "8019"] = process.argv.slice(2);
  if (!folder) {
    console.error("usage: node scripts/web-serve.js FOLDER [PORT]");
    process.exit(2);
  }
  start(folder, Number(port)).then((server) => {
    console.log(`Skelmora is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
  }, (err) => {
    console.error(`cannot serve on 127.0.0.1:${port}: ${err.message}`);
    process.exit(1);
  });
}
