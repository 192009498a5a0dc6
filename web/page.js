// The browser page: settings from the query string (the hack's option
// names and ranges), the face sheet and font loaded as scripts when shown,
// and the tick loop that puts the world's changed areas on the canvas from
// the program's memory. The world and its drawing are the program's (life.js).
'use strict';

(function () {
  // The options of the hack lifefaces that the page takes, with their
  // defaults; stop-after and fps are for tests and measurements.
  const OPTIONS = {
    'delay': { kind: 'unsigned', value: 150000 },
    'faces': { kind: 'faces', value: 'lifeface.bmp' },
    'seed': { kind: 'unsigned', value: 0 },
    'initpop': { kind: 'unsigned', value: 150 },
    'color': { kind: 'color', value: '#C0C0C0' },
    'mini-display': { kind: 'flag', value: true },
    'activity-bar': { kind: 'flag', value: true },
    'frame': { kind: 'flag', value: true },
    'stop-after': { kind: 'unsigned', value: 0 },
    'fps': { kind: 'flag', value: false },
  };
  const UINT32_MAX = 4294967295;

  const canvas = document.getElementById('world');
  const context = canvas.getContext('2d', { alpha: false });
  const message = document.getElementById('message');
  const form = document.getElementById('settings-form');
  const link = document.getElementById('settings-link');

  // Data scripts (faces/*.js, font.js) hand their bytes to lifeData.
  const arrived = new Map();
  window.lifeData = function (name, base64) {
    const text = atob(base64);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    arrived.set(name, bytes);
  };

  function showMessage(text) {
    message.textContent = text;
    message.hidden = false;
    document.documentElement.dataset.state = 'failed';
  }

  // A value of the query string for an option, or undefined when bad.
  function readValue(option, text, faceFile) {
    switch (option.kind) {
      case 'unsigned':
        return /^[0-9]{1,10}$/.test(text) && Number(text) <= UINT32_MAX ? Number(text) : undefined;
      case 'color': {
        const hex = text.startsWith('#') ? text.slice(1) : text;
        return /^[0-9a-fA-F]{6}$/.test(hex) ? '#' + hex.toUpperCase() : undefined;
      }
      case 'flag':
        if (/^(|1|on|yes|true)$/i.test(text)) return true;
        if (/^(0|off|no|false)$/i.test(text)) return false;
        return undefined;
      case 'faces':
        return faceFile(text) || undefined;
    }
    return undefined;
  }

  // The settings: defaults, then each good option of the query string.
  // "no-NAME" turns the flag NAME off, as -no-NAME does for the hack.
  function readSettings(query, faceFile) {
    const settings = {};
    for (const name in OPTIONS) settings[name] = OPTIONS[name].value;
    for (const [key, text] of new URLSearchParams(query)) {
      let name = key.replace(/^-+/, '');
      let negated = false;
      if (!(name in OPTIONS) && name.startsWith('no-') && OPTIONS[name.slice(3)] &&
          OPTIONS[name.slice(3)].kind === 'flag') {
        name = name.slice(3);
        negated = true;
      }
      const option = OPTIONS[name];
      if (!option) {
        console.warn(`Life: unknown option ${key}, ignored`);
        continue;
      }
      const value = readValue(option, text, faceFile);
      if (value === undefined) {
        console.warn(`Life: bad value for option ${key}: '${text}'; using ${option.value}`);
        continue;
      }
      settings[name] = negated ? !value : value;
    }
    return settings;
  }

  // The query string for settings: only what differs from the defaults.
  function queryFor(settings) {
    const query = new URLSearchParams();
    for (const name in OPTIONS) {
      const value = settings[name], fallback = OPTIONS[name].value;
      if (value === fallback) continue;
      if (OPTIONS[name].kind === 'flag') query.append(value ? name : 'no-' + name, '');
      else query.append(name, String(value));
    }
    return query.toString().replace(/=(&|$)/g, '$1');
  }

  // Loads a data script once; resolves when its bytes have arrived.
  function loadData(name, src) {
    if (arrived.has(name)) return Promise.resolve(arrived.get(name));
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = src;
      script.onload = () => arrived.has(name) ? resolve(arrived.get(name)) : reject(new Error(src));
      script.onerror = () => reject(new Error(src));
      document.head.appendChild(script);
    });
  }

  function fillPanel(settings, faceFiles) {
    const select = form.elements['faces'];
    for (const file of faceFiles) {
      const item = document.createElement('option');
      item.value = file;
      item.textContent = file.replace(/\..*$/, '');
      select.appendChild(item);
    }
    for (const name in OPTIONS) {
      const field = form.elements[name];
      if (!field) continue;
      if (field.type === 'checkbox') field.checked = settings[name];
      else if (field.type === 'color') field.value = settings[name].toLowerCase();
      else field.value = String(settings[name]);
    }
    const fromPanel = () => {
      const chosen = Object.assign({}, settings);
      for (const name in OPTIONS) {
        const field = form.elements[name];
        if (!field) continue;
        const value = field.type === 'checkbox' ? field.checked
          : readValue(OPTIONS[name], field.value.trim(), (n) => faceFiles.includes(n) ? n : '');
        if (value === undefined) console.warn(`Life: bad value for ${name}: '${field.value}'`);
        else chosen[name] = value;
      }
      const query = queryFor(chosen);
      return query ? '?' + query : location.pathname.replace(/.*\//, '') || './';
    };
    form.addEventListener('input', () => { link.href = fromPanel(); });
    form.addEventListener('submit', (event) => {
      event.preventDefault();
      location.href = fromPanel();
    });
    link.href = fromPanel();
  }

  // A click goes full screen; F goes there and back (Escape leaves too).
  function fullScreen(toggle) {
    const root = document.documentElement;
    if (document.fullscreenElement) {
      if (toggle) document.exitFullscreen();
    } else if (root.requestFullscreen) {
      root.requestFullscreen().catch(() => {});
    } else if (root.webkitRequestFullscreen) {
      root.webkitRequestFullscreen();
    }
  }

  async function run(life) {
    const call = {
      faceFile: life.cwrap('life_face_file', 'string', ['string']),
      faceFiles: life.cwrap('life_face_files', 'string', []),
      start: life.cwrap('life_start', 'number',
        ['string', 'number', 'number', 'number', 'number', 'number', 'number', 'number', 'number']),
      width: life._life_width, height: life._life_height, pixels: life._life_pixels,
      compose: life._life_compose, areas: life._life_areas, step: life._life_step,
      addFile: life.cwrap('life_add_file', 'number', ['string', 'number', 'number']),
    };
    const settings = readSettings(location.search, call.faceFile);
    fillPanel(settings, call.faceFiles().split('\n').filter(Boolean));

    const addFile = (name, bytes) => {
      const at = life._malloc(bytes.length);
      life.HEAPU8.set(bytes, at);
      const kept = call.addFile(name, at, bytes.length);
      life._free(at);
      if (!kept) throw new Error('no room for ' + (name || 'the font'));
    };
    const sheetFile = settings['faces'];
    const sheetSrc = 'faces/' + encodeURIComponent(sheetFile) + '.js';
    try {
      addFile(sheetFile, await loadData(sheetFile, sheetSrc));
    } catch (e) {
      showMessage(`The face set ${sheetFile} cannot be loaded: ${sheetSrc} is missing or ` +
        'damaged. Choose another face set in the settings.');
      document.getElementById('settings').open = true;
      return;
    }
    // Without its font the activity line is left out, as natively.
    if (settings['activity-bar']) {
      try {
        addFile('', await loadData('', 'font.js'));
      } catch (e) {
        console.warn('Life: font.js is missing: the activity line shows no text');
      }
    }

    const rgb = parseInt(settings['color'].slice(1), 16);
    const color = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    const delayMs = settings['delay'] / 1000;
    const stopAfter = settings['stop-after'];
    let image = null, steps = 0, stopped = false, nextTick = 0;
    let ticks = 0, reportedAt = performance.now(), reportedTicks = 0;

    // A new world for the canvas's size in device pixels, as the hack makes
    // one for its window's size.
    function rebuild(width, height) {
      canvas.width = width;
      canvas.height = height;
      context.fillStyle = '#000';
      context.fillRect(0, 0, width, height);
      call.start(sheetFile, width, height, settings['seed'], settings['initpop'],
        settings['mini-display'] ? 1 : 0, settings['activity-bar'] ? 1 : 0,
        settings['frame'] ? 1 : 0, color);
      image = null;
      steps = 0;
      stopped = false;
      nextTick = performance.now();
      document.documentElement.dataset.state = 'running';
    }

    // The picture's memory as the canvas's image data, made again when the
    // program's memory has grown (its old buffer is then detached).
    function pictureImage() {
      const width = call.width(), height = call.height();
      if (image === null || image.data.buffer !== life.HEAPU8.buffer) {
        const bytes = new Uint8ClampedArray(life.HEAPU8.buffer, call.pixels(), width * height * 4);
        image = new ImageData(bytes, width, height);
      }
      return image;
    }

    // One tick of the hack: show the changed areas, then step the world.
    // With fps, the time of each part is added up in spent.
    const spent = { compose: 0, put: 0, step: 0 };
    function tick() {
      let at = performance.now();
      const lap = (part) => {
        const now = performance.now();
        spent[part] += now - at;
        at = now;
      };
      const count = call.compose();
      lap('compose');
      if (count > 0) {
        const picture = pictureImage();
        const areas = new Int32Array(life.HEAPU8.buffer, call.areas(), count * 4);
        for (let i = 0; i < count * 4; i += 4)
          context.putImageData(picture, 0, 0, areas[i], areas[i + 1], areas[i + 2], areas[i + 3]);
      }
      lap('put');
      if (stopAfter !== 0 && steps >= stopAfter) {
        stopped = true;
        return;
      }
      call.step();
      ++steps;
      lap('step');
    }

    // The hack's -fps: ticks per second and time per tick on the console,
    // and the time per tick and its parts on the page for measurements.
    function report(now, final) {
      if (!settings['fps'] || (!final && now - reportedAt < 2000)) return;
      const perTick = (ms) => (ticks > 0 ? ms / ticks : 0).toFixed(3);
      const total = spent.compose + spent.put + spent.step;
      Object.assign(document.documentElement.dataset, {
        msPerTick: perTick(total), msCompose: perTick(spent.compose), msPut: perTick(spent.put),
        msStep: perTick(spent.step) });
      console.info(`Life: ${(reportedTicks * 1000 / (now - reportedAt)).toFixed(1)} ticks/s, ` +
        `${perTick(total)} ms per tick` + (final ? ` after ${steps} generations` : ''));
      reportedAt = now;
      reportedTicks = 0;
    }

    function frame(now) {
      try {
        const width = Math.round(window.innerWidth * window.devicePixelRatio);
        const height = Math.round(window.innerHeight * window.devicePixelRatio);
        if (width !== canvas.width || height !== canvas.height) rebuild(width, height);
        if (!stopped && now >= nextTick) {
          tick();
          ++ticks;
          ++reportedTicks;
          nextTick += delayMs;
          if (nextTick < now) nextTick = now;
          report(now, stopped);
          if (stopped) document.documentElement.dataset.state = 'stopped';
        }
        requestAnimationFrame(frame);
      } catch (e) {
        if (!e || !e.lifeFatal) throw e;
        context.fillRect(0, 0, canvas.width, canvas.height);
        showMessage(`${e.caption}: ${e.text}`);
      }
    }
    requestAnimationFrame(frame);
  }

  canvas.addEventListener('click', () => fullScreen(false));
  document.addEventListener('keydown', (event) => {
    if ((event.key === 'f' || event.key === 'F') && !event.target.closest('form'))
      fullScreen(true);
  });

  // Life runs with its WebAssembly inside life.js; a browser without it
  // gets a message rather than a blank page.
  if (typeof createLife !== 'function' || typeof WebAssembly !== 'object') {
    showMessage('This browser cannot run Life: it needs WebAssembly.');
    return;
  }
  // Compiled at once (the WebAssembly is small), the program may come ready
  // rather than promised.
  Promise.resolve(createLife()).then(run).catch((e) => {
    showMessage('Life could not start: ' + (e && e.message ? e.message : e));
    throw e;
  });
})();
