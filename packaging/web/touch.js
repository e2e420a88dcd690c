// The game by finger: the page fitted to any screen, a number pad for touch,
// and a hidden field that brings up the on-screen keyboard the focused box asks
// for and types its text into the game as keys, the way the keyboard would.
'use strict';
(function () {
  const page = window.quorvelaPage;
  const screen = document.getElementById('screen');
  const pad = document.getElementById('pad');
  const field = document.getElementById('typed');
  const viewport = document.querySelector('meta[name="viewport"]');
  // The part of the canvas the game's window takes (its place, 136 by 35, its
  // size and the title bar Qt draws), with a margin, in the window's pixels.
  const NEED = { width: 880, height: 610 };
  const KEY = 56;        // a pad key (48 CSS px on the screen) with its gap
  const FINGER = 44;     // the least height on the screen of what a finger taps
  const COLUMNS = 3, ROWS = 4;

  let touch = matchMedia('(pointer: coarse)').matches;
  let scale = 1;         // the page's scale, chosen by fit()
  let fittedWidth = 0;

  // The screen's size in CSS pixels at a scale of 1, whatever the page's scale.
  function screenSize() {
    const v = window.visualViewport;
    return v ? { width: v.width * v.scale, height: v.height * v.scale }
             : { width: innerWidth, height: innerHeight };
  }

  // The page's scale and where the pad goes: the whole window (and the pad, in
  // touch) on the screen, at its natural size where it fits. Mobile browsers
  // scale the page by its viewport; the canvas keeps its size in the window's
  // pixels, so taps land where the pupil sees the control.
  function fit(force) {
    const size = screenSize();
    if (!force && Math.abs(size.width - fittedWidth) < 1)
      return;   // the same width: an on-screen keyboard opened or closed
    fittedWidth = size.width;
    const under = Math.min(1, size.width / NEED.width,
                           (size.height - (touch ? ROWS * KEY : 0)) / NEED.height);
    const beside = Math.min(1, (size.width - (touch ? COLUMNS * KEY : 0)) / NEED.width,
                            size.height / NEED.height);
    scale = Math.max(0.2, under, beside);
    // The page's width in whole pixels, and the scale that fits it exactly.
    const layoutWidth = Math.ceil(size.width / scale);
    if (scale < 1)
      scale = size.width / layoutWidth;
    document.body.classList.toggle('touch', touch);
    // Beside where that is larger, or as large on a screen wider than tall.
    document.body.classList.toggle('pad-beside', touch &&
      (beside > under || (beside === under && size.width > size.height)));
    pad.hidden = !touch || page.exitCode !== undefined;
    document.documentElement.style.setProperty('--key', (KEY / scale).toFixed(1) + 'px');
    viewport.content = scale < 1
      ? `width=${layoutWidth}, initial-scale=${scale.toFixed(6)}, interactive-widget=resizes-visual`
      : 'width=device-width, initial-scale=1, interactive-widget=resizes-visual';
    // Qt measures its screen, the canvas, on the window's resize.
    window.dispatchEvent(new Event('resize'));
  }

  function usedByTouch() {
    if (touch)
      return;
    touch = true;
    fit(true);
  }

  // --- keys, as the game's keyboard gives them ----------------------------------
  // Qt's browser platform reads the key and its code from the canvas's events.
  function codeOf(key) {
    if (/^[0-9]$/.test(key))
      return 'Digit' + key;
    if (/^[a-z]$/i.test(key))
      return 'Key' + key.toUpperCase();
    return { ' ': 'Space', Enter: 'Enter', Backspace: 'Backspace' }[key] || '';
  }

  function press(key, from) {
    const init = { key, code: from ? from.code : codeOf(key), bubbles: true, cancelable: true,
                   shiftKey: !!(from && from.shiftKey), ctrlKey: !!(from && from.ctrlKey),
                   altKey: !!(from && from.altKey), metaKey: !!(from && from.metaKey) };
    const taken = !screen.dispatchEvent(new KeyboardEvent('keydown', init));
    screen.dispatchEvent(new KeyboardEvent('keyup', init));
    return taken;
  }

  // --- the hidden field: on-screen keyboards ------------------------------------
  // Its text is the keyboard's, word suggestions and corrections included; each
  // change goes to the game as the keys that make it: erasing back to where the
  // old and new texts part, then the new characters, each once and in order.
  let last = '';
  field.addEventListener('input', () => {
    const now = field.value;
    let same = 0;
    while (same < last.length && same < now.length && last[same] === now[same])
      same++;
    for (let i = [...last.slice(same)].length; i > 0; i--)
      press('Backspace');
    for (const c of now.slice(same))
      press(c);
    last = now;
  });
  // An Enter some keyboards send as input rather than as a key.
  field.addEventListener('beforeinput', (e) => {
    if (e.inputType === 'insertLineBreak' || e.inputType === 'insertParagraph') {
      e.preventDefault();
      press('Enter');
    }
  });
  // Keys that are not text (Enter, Tab, Escape, arrows, Backspace on an empty
  // field, shortcuts) go to the game as they come; text comes through input.
  const forwarded = new Set();
  field.addEventListener('keydown', (e) => {
    if (e.isComposing || e.keyCode === 229 || e.key === 'Unidentified' || e.key === 'Process')
      return;
    if (e.key.length === 1 && !e.ctrlKey && !e.altKey && !e.metaKey)
      return;
    if (e.key === 'Backspace' && field.value)
      return;
    e.preventDefault();
    forwarded.add(e.code);
    screen.dispatchEvent(new KeyboardEvent('keydown', e));
  });
  field.addEventListener('keyup', (e) => {
    if (forwarded.delete(e.code))
      screen.dispatchEvent(new KeyboardEvent('keyup', e));
  });

  // The game says where its focused widget is on the canvas and which keyboard
  // it asks for: "numeric" for the answers, "text" for the name, "none" where
  // nothing is typed. The field lies over it, where a keyboard's suggestions
  // and a browser's scrolling to the field then point.
  page.focus = (mode, enter, place) => {
    const canvas = screen.getBoundingClientRect();
    page.focused = { x: canvas.left + scrollX + place.x, y: canvas.top + scrollY + place.y,
                     width: place.width, height: place.height };
    field.style.left = page.focused.x + 'px';
    field.style.top = page.focused.y + 'px';
    const changed = field.getAttribute('inputmode') !== mode;
    field.value = '';
    last = '';
    field.setAttribute('inputmode', mode);
    field.setAttribute('autocapitalize', mode === 'text' ? 'words' : 'off');
    if (enter)
      field.setAttribute('enterkeyhint', enter);
    else
      field.removeAttribute('enterkeyhint');
    // A keyboard shows its new kind when its field is focused again.
    if (changed && document.activeElement === field) {
      field.blur();
      field.focus({ preventScroll: true });
    }
  };

  // A tap on the game gives the keys to the field, within the tap, which is when
  // a mobile browser lets a page bring up its keyboard. The tap's mouse events
  // that follow must not take the focus back to the canvas.
  document.addEventListener('touchend', (e) => {
    if (e.target === screen)
      field.focus({ preventScroll: true });
  });
  screen.addEventListener('mousedown', (e) => {
    if (touch)
      e.preventDefault();
  });
  window.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'touch' || e.pointerType === 'pen')
      usedByTouch();
  }, true);
  // The page's focus gives the keys to the game: to the field in touch.
  page.takeFocus = () => (touch ? field : screen).focus({ preventScroll: true });

  // --- the number pad -------------------------------------------------------------
  const KEYS = ['1', '2', '3', '4', '5', '6', '7', '8', '9', 'Backspace', '0', 'Enter'];
  const WORDS = { Backspace: 'Cancella', Enter: 'Invio' };
  for (const key of KEYS) {
    const button = document.createElement('button');
    button.type = 'button';
    button.tabIndex = -1;
    button.dataset.key = key;
    button.textContent = key === 'Backspace' ? '⌫' : WORDS[key] || key;
    button.setAttribute('aria-label', WORDS[key] || key);
    // The keys stay with the game's field: a pad key never takes the focus.
    button.addEventListener('mousedown', (e) => e.preventDefault());
    button.addEventListener('click', () => {
      page.speak(WORDS[key] || key);
      press(key);
    });
    pad.appendChild(button);
  }

  // --- what the game asks of the page ---------------------------------------------
  page.touchTargetHeight = () => {
    if (!touch)
      return 0;
    const shown = window.visualViewport ? window.visualViewport.scale : scale;
    // Where the screen is very small, a third of the window's height at most.
    return Math.min(Math.ceil(FINGER / shown), Math.floor(NEED.height / 6));
  };
  // The game's own pointers (pictures), which Qt's browser platform cannot show:
  // over Qt's own cursor, set on the canvas, while the game has one.
  page.pointer = (css) => {
    if (css) {
      screen.style.setProperty('--game-pointer', css + ', default');
      screen.dataset.pointer = '';
    } else {
      delete screen.dataset.pointer;
    }
  };

  addEventListener('resize', () => fit(false));
  addEventListener('orientationchange', () => setTimeout(() => fit(true), 100));
  fit(true);
})();
