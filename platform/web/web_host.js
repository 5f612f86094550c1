// The page's half of the web host: it queues the page's input for the frame wait, shows the
// picture at whole steps on every device pixel ratio, plays the sound through Web Audio and
// keeps the saved files in the browser's storage. Loaded ahead of the program (--pre-js).
Module.brackle = (() => {
  const b = {
    script: "",  // an event script sent in its frames (?script=URL): the tests' runs
    recording: new URLSearchParams(location.search).has("record"),
    frameCount: 0,
    frames: [],  // per frame, while recording: the picture's hash
    busy: [],  // per frame, while recording: milliseconds the game ran without waiting
    log: [],  // while recording: the events delivered, as event script lines
    audioLog: [],  // what the sound did, with the page's time
    firstFrameAt: null,
    inputAt: null,  // the page's time of the first press or key
  };
  const now = () => performance.now();
  const canvas = Module.canvas;
  const screen = canvas.getContext("2d", { alpha: false });
  const picture = document.createElement("canvas");
  const pictureCtx = picture.getContext("2d");
  let devW = 0, devH = 0;  // the canvas's size in device pixels
  let view = { scale: 1, left: 0, top: 0 };

  // The input queue; the game's wait wakes at the first event.
  const queue = [];
  let wake = null;
  const Type = { down: 0, move: 1, up: 2, key: 3, close: 4 };  // ScriptEvent::Type
  function push(e) {
    queue.push(e);
    if (wake) wake();
  }
  // The delivery takes the events one by one.
  b.take = () => queue.shift();
  b.wait = (ms) => new Promise((resolve) => {
    if (queue.length) return resolve();
    const timer = setTimeout(() => { wake = null; resolve(); }, ms);
    wake = () => { wake = null; clearTimeout(timer); resolve(); };
  });

  // The largest whole scale that fits, centred on black, in device pixels: the canvas
  // covers the page and is sized to its device pixels exactly, so no CSS position rounds.
  function fit() {
    const pw = picture.width, ph = picture.height;
    const scale = Math.max(1, Math.floor(Math.min(devW / pw, devH / ph)));
    view = { scale, left: Math.max(0, Math.floor((devW - pw * scale) / 2)),
             top: Math.max(0, Math.floor((devH - ph * scale) / 2)) };
  }
  function draw() {
    if (!devW || !devH) return;
    screen.imageSmoothingEnabled = false;
    screen.fillStyle = "#000";
    screen.fillRect(0, 0, devW, devH);
    screen.drawImage(picture, view.left, view.top, picture.width * view.scale,
                     picture.height * view.scale);
  }
  function resized(w, h) {
    if (w === devW && h === devH) return;
    canvas.width = devW = w;
    canvas.height = devH = h;
    fit();
    draw();
  }
  const observer = new ResizeObserver((entries) => {
    const e = entries[entries.length - 1];
    if (e.devicePixelContentBoxSize) {
      resized(e.devicePixelContentBoxSize[0].inlineSize, e.devicePixelContentBoxSize[0].blockSize);
    } else {  // browsers that do not say: the CSS size times the ratio
      resized(Math.round(e.contentRect.width * devicePixelRatio),
              Math.round(e.contentRect.height * devicePixelRatio));
    }
  });
  try {
    observer.observe(canvas, { box: "device-pixel-content-box" });
  } catch (_) {
    observer.observe(canvas);
  }

  b.show = (w, h) => {
    picture.width = w;
    picture.height = h;
    fit();
  };
  b.present = (rgba, w, h) => {  // rgba: a view of the program's memory, used at once
    pictureCtx.putImageData(new ImageData(rgba, w, h), 0, 0);
    draw();
    if (b.firstFrameAt === null) b.firstFrameAt = now();
  };
  b.view = () => Object.assign({ width: devW, height: devH }, view);
  b.frame = (n, hash, busyMs) => {
    b.frameCount = n;
    if (!b.recording) return;
    b.frames.push(hash);
    b.busy.push(busyMs);
  };

  // A page position in play-surface pixels; `inside` when it lies on the picture.
  function toPicture(clientX, clientY) {
    const r = canvas.getBoundingClientRect();
    const dx = Math.floor((clientX - r.left) * devW / r.width);
    const dy = Math.floor((clientY - r.top) * devH / r.height);
    const x = (dx - view.left) / view.scale, y = (dy - view.top) / view.scale;
    return { x, y, inside: x >= 0 && y >= 0 && x < picture.width && y < picture.height };
  }
  function firstInput() {
    if (b.inputAt === null) b.inputAt = now();
    unlockAudio();
  }

  // The mouse as on the desktop: a press counts on the picture, which then keeps the
  // pointer until every button is up. DOM buttons 0, 2, 1 are the game's 1, 2, 4; the
  // held-buttons mask is the same in both.
  const gameButton = { 0: 1, 2: 2, 1: 4 };
  let captured = false;
  canvas.addEventListener("mousedown", (e) => {
    firstInput();
    const button = gameButton[e.button];
    const p = toPicture(e.clientX, e.clientY);
    e.preventDefault();
    if (!button || (!p.inside && !captured)) return;
    captured = true;
    push({ type: Type.down, button, x: p.x, y: p.y });
  });
  window.addEventListener("mousemove", (e) => {
    const p = toPicture(e.clientX, e.clientY);
    if (!p.inside && !captured) return;
    push({ type: Type.move, button: e.buttons & 7, x: p.x, y: p.y });
  });
  window.addEventListener("mouseup", (e) => {
    const button = gameButton[e.button];
    const p = toPicture(e.clientX, e.clientY);
    if (!button || (!p.inside && !captured)) return;
    if ((e.buttons & 7) === 0) captured = false;
    push({ type: Type.up, button, x: p.x, y: p.y });
  });
  canvas.addEventListener("contextmenu", (e) => e.preventDefault());

  // Touch: the first finger is the left button, a second the right; the pointer follows
  // the right one while it is down, so the field scrolls toward it. A tap shorter than a
  // frame is a click like any other (the game keeps a press released in its own wait for
  // the next frame). A scroll must not start with a move: the first finger presses only
  // after a short grace, within which a second finger leaves it the pointer alone.
  const graceMs = 120;
  const fingers = new Map();  // touch identifier -> {button (0: pointer only), pressed, ...}
  const held = () => [...fingers.values()].reduce((m, f) => m | (f.pressed ? f.button : 0), 0);
  function press(f) {
    clearTimeout(f.timer);
    f.timer = null;
    f.pressed = true;
    push({ type: Type.down, button: f.button, x: f.x, y: f.y });
  }
  function release(f) {
    f.pressed = false;
    push({ type: Type.up, button: f.button, x: f.x, y: f.y });
  }
  canvas.addEventListener("touchstart", (e) => {
    e.preventDefault();
    firstInput();
    for (const t of e.changedTouches) {
      const p = toPicture(t.clientX, t.clientY);
      const others = [...fingers.values()];
      if (!p.inside || others.length >= 2) continue;
      const f = { button: others.length ? 2 : 1, x: p.x, y: p.y, pressed: false, timer: null };
      fingers.set(t.identifier, f);
      push({ type: Type.move, button: held(), x: p.x, y: p.y });
      if (f.button === 1) {
        f.timer = setTimeout(() => press(f), graceMs);
        continue;
      }
      const first = others[0];
      if (first.timer) {  // the pair's first finger had not pressed yet: it only points
        clearTimeout(first.timer);
        first.timer = null;
        first.button = 0;
      }
      press(f);
    }
  }, { passive: false });
  canvas.addEventListener("touchmove", (e) => {
    e.preventDefault();
    for (const t of e.changedTouches) {
      const f = fingers.get(t.identifier);
      if (!f || (f.button !== 2 && [...fingers.values()].some((o) => o.button === 2))) continue;
      const p = toPicture(t.clientX, t.clientY);
      f.x = p.x, f.y = p.y;
      push({ type: Type.move, button: held(), x: p.x, y: p.y });
    }
  }, { passive: false });
  const lift = (e) => {
    e.preventDefault();
    firstInput();  // a touch's end is what lets a page start its sound
    for (const t of e.changedTouches) {
      const f = fingers.get(t.identifier);
      if (!f) continue;
      fingers.delete(t.identifier);
      if (f.timer) press(f);  // a tap within the grace
      if (f.button) release(f);
    }
  };
  canvas.addEventListener("touchend", lift, { passive: false });
  canvas.addEventListener("touchcancel", lift, { passive: false });

  // Keys: F11 and Alt+Enter are the page's own full screen; every other key goes to the
  // game, which picks its own by name. Browser shortcuts (Ctrl, Cmd) and the function
  // keys keep working.
  function toggleFullScreen() {
    const d = document, el = d.documentElement;
    if (d.fullscreenElement || d.webkitFullscreenElement) {
      (d.exitFullscreen || d.webkitExitFullscreen).call(d);
    } else {
      const p = (el.requestFullscreen || el.webkitRequestFullscreen).call(el);
      if (p && p.catch) p.catch(() => {});
    }
  }
  window.addEventListener("keydown", (e) => {
    firstInput();
    if (e.key === "F11" || (e.key === "Enter" && e.altKey)) {
      e.preventDefault();
      if (!e.repeat) toggleFullScreen();
      return;
    }
    // Ctrl+Shift+Z is the game's redo, as Ctrl+Y is; F1 is the game's rules card.
    const redo = e.ctrlKey && e.shiftKey && (e.key === "Z" || e.key === "z");
    if (redo || e.key === "F1" || (!e.ctrlKey && !e.metaKey && !/^F\d+$/.test(e.key))) e.preventDefault();
    if (!e.repeat) push({ type: Type.key, key: redo ? "ShiftCtrlZ" : e.key, code: e.code });
  });

  // Sound. The context may start only after the player's first press or key.
  let audio = null;
  function context() {
    if (audio) return audio;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return null;
    audio = new Context();
    b.audioLog.push({ t: now(), what: audio.state });
    audio.onstatechange = () => {
      b.audioLog.push({ t: now(), what: audio.state });
      music.kick();
    };
    return audio;
  }
  function unlockAudio() {
    const a = context();
    if (a && a.state !== "running") a.resume().catch(() => {});
  }
  const running = () => audio && audio.state === "running";

  // The tune: fetched and decoded once; "position" counts what has sounded of the current
  // run, so nothing counts before the sound may start.
  const tunes = {};  // url -> decoded buffer, once there
  const music = {
    url: null, source: null, startedAt: 0, offset: 0, wanted: false,
    open(alias, url) {
      if (url in tunes) return;
      tunes[url] = null;
      const a = context();
      // A fetch cut off (the page going away, the network gone) only leaves the game
      // silent; a tune the site lacks or that does not decode is the site's fault.
      fetch(url).then((r) => {
        if (!r.ok) {
          console.error("the tune " + url + " is not on the site: " + r.status);
          return null;
        }
        return r.arrayBuffer().then((bytes) => a.decodeAudioData(bytes)).then((buffer) => {
          tunes[url] = buffer;
          music.kick();
        }, (err) => console.error("the tune " + url + " cannot be played: " + err));
      }, (err) => console.warn("the tune " + url + " could not be fetched: " + err));
      this.urls[alias] = url;
    },
    urls: {},
    play(alias, fromStart) {
      this.stopSource();
      this.url = this.urls[alias];
      if (fromStart) this.offset = 0;
      this.wanted = true;
      this.kick();
    },
    kick() {
      if (!this.wanted || this.source || !running() || !tunes[this.url]) return;
      const s = audio.createBufferSource();
      s.buffer = tunes[this.url];
      s.connect(audio.destination);
      s.start(0, this.offset);
      this.source = s;
      this.startedAt = audio.currentTime;
      b.audioLog.push({ t: now(), what: "play", at: this.offset });
    },
    stopSource() {
      if (!this.source) return;
      this.offset = this.position();
      this.source.stop();
      this.source = null;
    },
    pause() {
      this.stopSource();
      this.wanted = false;
      b.audioLog.push({ t: now(), what: "pause", at: this.offset });
    },
    halt() {
      this.stopSource();
      this.wanted = false;
      this.offset = 0;
      b.audioLog.push({ t: now(), what: "halt" });
    },
    position() {
      return this.source ? this.offset + audio.currentTime - this.startedAt : this.offset;
    },
  };
  b.music = music;

  // The click: one channel, so a new click cuts off the one still sounding.
  const waves = {};  // path -> promise of the decoded buffer
  let click = null, clickAsked = 0;
  b.click = (path) => {
    if (click) click.stop();
    click = null;
    const asked = ++clickAsked;
    const a = context();
    if (!path || !a) return;
    if (!(path in waves)) {
      waves[path] = a.decodeAudioData(FS.readFile(path).slice().buffer).catch((err) => {
        console.error(path + " cannot be played: " + err);
        return null;
      });
    }
    waves[path].then((buffer) => {
      if (!buffer || asked !== clickAsked || !running()) return;
      click = a.createBufferSource();
      click.buffer = buffer;
      click.connect(a.destination);
      click.start();
      b.audioLog.push({ t: now(), what: "click" });
    });
  };

  // The saved files: a folder of IndexedDB, read in before the game starts and written
  // out after each save.
  b.restoreSaves = async (dir) => {
    try {
      FS.mkdir(dir);
      FS.mount(IDBFS, {}, dir);
      await new Promise((resolve, reject) => FS.syncfs(true, (e) => (e ? reject(e) : resolve())));
      return true;
    } catch (e) {
      console.warn("no saved files: " + e);
      return false;
    }
  };
  b.storeSaves = () => new Promise((resolve) => FS.syncfs(false, (e) => {
    if (e) console.warn("the saved files cannot be kept: " + e);
    resolve(!e);
  }));

  b.report = (title, text) => {
    const box = document.getElementById("report");
    if (!box) return;
    box.textContent = title + "\n\n" + text;
    box.hidden = false;
  };

  // The program's standard error is the console's errors, so a test sees every complaint.
  Module.printErr = (text) => console.error(text);
  Module.preRun = (Module.preRun || []).concat(() => {
    const url = new URLSearchParams(location.search).get("script");
    if (!url) return;
    addRunDependency("script");
    fetch(url).then((r) => r.text()).then((text) => {
      b.script = text;
      removeRunDependency("script");
    });
  });
  return b;
})();
