// The conformance suite's way into a browser: the C++ driver (web_driver.cpp)
// starts this with the browser's name and the page's file, and sends one
// JSON request a line on standard input; each gets one JSON line back,
// {"value": ...} or {"error": "..."}, with every character beyond ASCII
// escaped. The page is opened from disk, as a pupil opens it from a USB
// stick, and worked with the browser's own input: keys, the mouse and the
// clipboard.
//
//   node bridge.mjs chromium|firefox <page.html>

import readline from "node:readline";
import { pathToFileURL } from "node:url";
import { launch } from "./browser.mjs";
import { decodePng } from "./png.mjs";

const [name, pagePath] = process.argv.slice(2);
const url = pathToFileURL(pagePath).href;
const browser = await launch(name);
const viewport = { width: 1024, height: 768 };
let page = null;
let scratch = null;

const keys = {
  Up: ["ArrowUp"],
  Down: ["ArrowDown"],
  Left: ["ArrowLeft"],
  Right: ["ArrowRight"],
  Home: ["Home"],
  End: ["End"],
  PageUp: ["PageUp"],
  PageDown: ["PageDown"],
  Tab: ["Tab"],
  ShiftTab: ["Tab", "Shift"],
  Delete: ["Delete"],
  Backspace: ["Backspace"],
  Return: ["Enter"],
  Space: [" "],
  SelectAll: ["KeyA", "Control"],
  Copy: ["KeyC", "Control"],
  Paste: ["KeyV", "Control"],
  Cut: ["KeyX", "Control"],
};
const modifierKeys = { None: null, Shift: "Shift", Control: "Control" };

// Until the page has handled what it was sent and painted it.
const settle = (target = page) =>
  target.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0))));

// The window's top left corner in the viewport.
const origin = () =>
  page.evaluate(() => {
    const r = document.getElementById("kalvetor").getBoundingClientRect();
    return { x: r.left, y: r.top };
  });

async function withModifier(modifier, action) {
  const key = modifierKeys[modifier];
  if (key) await page.keyboard.down(key);
  try {
    await action();
  } finally {
    if (key) await page.keyboard.up(key);
  }
}

// Whether the focus is on something of the page.
const focusInPage = () =>
  page.evaluate(() => document.activeElement !== null && document.activeElement !== document.body);

async function press(key, modifier) {
  const [code, held] = keys[key];
  await withModifier(held ?? modifier, () => page.keyboard.press(code));
  await settle();
  // Tab past the page's last control (Shift+Tab past its first) leaves the
  // page for the browser's own controls, the address bar and the like, and
  // the browser's next Tab comes back to the page's first control (its
  // last): in a browser that is where the desktop's Tab cycle closes.
  // Headless browsers have no such controls to pass, so the driver hands
  // the focus back to the page as the browser's last control would.
  if (code === "Tab" && !(await focusInPage())) {
    await page.evaluate((backwards) => {
      const reachable = Array.from(document.querySelectorAll("select, textarea, input, button, a[href], [tabindex]"))
        .filter((element) => element.tabIndex >= 0 && !element.disabled && element.getClientRects().length > 0);
      (backwards ? reachable.at(-1) : reachable[0])?.focus();
    }, (held ?? modifier) === "Shift");
    await settle();
  }
}

async function type(text) {
  for (const character of text) {
    if (name === "chromium" && character.codePointAt(0) > 0x7f) {
      // Puppeteer knows only the US keyboard's keys in Chromium; a letter of
      // another layout goes as the key event a Bulgarian keyboard sends.
      const session = await page.createCDPSession();
      for (const type of ["keyDown", "keyUp"]) {
        await session.send("Input.dispatchKeyEvent", {
          type,
          key: character,
          text: type === "keyDown" ? character : undefined,
          unmodifiedText: type === "keyDown" ? character : undefined,
        });
      }
      await session.detach();
    } else {
      await page.keyboard.press(character);
    }
    await settle();
  }
}

async function clickAt(x, y, modifier = "None", count = 1) {
  const o = await origin();
  await withModifier(modifier, () => page.mouse.click(o.x + x, o.y + y, { count }));
  await settle();
}

async function coloursIn(left, top, width, height) {
  const o = await origin();
  const png = await page.screenshot({
    type: "png",
    clip: { x: o.x + left, y: o.y + top, width, height },
    captureBeyondViewport: false,
  });
  const image = decodePng(png);
  if (image.width !== width || image.height !== height) {
    throw new Error(`a ${width} x ${height} area came back ${image.width} x ${image.height}`);
  }
  return Array.from(image.rgb);
}

// A page of its own for the clipboard and the browser's standard colours,
// so that the window's page is never touched by the test.
async function scratchPage() {
  if (!scratch) {
    scratch = await browser.newPage();
    await scratch.goto("about:blank");
    await scratch.evaluate(() => {
      const meta = document.createElement("meta");
      meta.name = "color-scheme";
      meta.content = "light dark";
      document.head.append(meta);
      document.body.append(document.createElement("textarea"));
    });
  }
  await scratch.bringToFront();
  return scratch;
}

async function backToWindow() {
  await page.bringToFront();
  await settle();
}

// Through a plain text field, with the keys a user copies and pastes with.
async function setClipboard(text) {
  const s = await scratchPage();
  await s.evaluate((t) => {
    const field = document.querySelector("textarea");
    field.value = t;
    field.focus();
    field.select();
  }, text);
  await s.keyboard.down("Control");
  await s.keyboard.press("KeyC");
  await s.keyboard.up("Control");
  await backToWindow();
}

async function clipboard() {
  const s = await scratchPage();
  await s.evaluate(() => {
    const field = document.querySelector("textarea");
    field.value = "";
    field.focus();
  });
  await s.keyboard.down("Control");
  await s.keyboard.press("KeyV");
  await s.keyboard.up("Control");
  await settle(s);
  const text = await s.evaluate(() => document.querySelector("textarea").value);
  await backToWindow();
  return text;
}

const calls = {
  async start() {
    if (page) await page.close();
    page = await browser.newPage();
    await page.setViewport(viewport);
    await page.goto(url);
    await page.waitForFunction(
      () => document.documentElement.classList.contains("live") && document.activeElement?.id === "description",
      { timeout: 30000 },
    );
    await page.bringToFront();
    await settle();
    return null;
  },
  clientSize: () =>
    page.evaluate(() => {
      const r = document.getElementById("kalvetor").getBoundingClientRect();
      return [0, 0, r.width, r.height];
    }),
  frameOnScreen: () =>
    page.evaluate(() => {
      const r = document.getElementById("kalvetor").getBoundingClientRect();
      return [r.left, r.top, r.width, r.height];
    }),
  workArea: () =>
    page.evaluate(() => [0, 0, document.documentElement.clientWidth, document.documentElement.clientHeight]),
  caption: () => page.evaluate(() => document.querySelector("title").textContent),
  controlRect: ({ id }) =>
    page.evaluate((id) => {
      const element = document.getElementById(id);
      if (!element || element.getClientRects().length === 0) return null;
      const w = document.getElementById("kalvetor").getBoundingClientRect();
      const r = element.getBoundingClientRect();
      return [r.left - w.left, r.top - w.top, r.width, r.height];
    }, id),
  coloursIn: ({ left, top, width, height }) => coloursIn(left, top, width, height),
  async standardBoxBackground() {
    const s = await scratchPage();
    const colour = await s.evaluate(() => getComputedStyle(document.querySelector("textarea")).backgroundColor);
    await backToWindow();
    return colour.match(/\d+/g).slice(0, 3).map(Number);
  },
  // The face drawn with: the first of the font's families whose letters
  // measure otherwise than the generic fallback's, i.e. that the system
  // has or substitutes metric-compatibly.
  fontOf: ({ id }) =>
    page.evaluate((id) => {
      const style = getComputedStyle(document.getElementById(id));
      const context = document.createElement("canvas").getContext("2d");
      const sample = "Калветор Kalvetor iiiWWW";
      const width = (font) => {
        context.font = `${style.fontSize} ${font}`;
        return context.measureText(sample).width;
      };
      const families = style.fontFamily.split(",").map((f) => f.trim().replace(/^"|"$/g, ""));
      const face =
        families.find((f) => ["monospace", "sans-serif"].every((g) => width(`"${f}", ${g}`) !== width(g))) ??
        families.at(-1);
      const lines = style.textDecorationLine;
      return [
        face,
        parseFloat(style.fontSize),
        Number(style.fontWeight),
        style.fontStyle === "italic",
        lines.includes("underline"),
        lines.includes("line-through"),
      ];
    }, id),
  labelText: () => page.evaluate(() => document.getElementById("title").textContent),
  focused: () =>
    page.evaluate(() => (document.activeElement === document.body ? null : (document.activeElement?.id ?? null))),
  press: ({ key, modifier }) => press(key, modifier).then(() => null),
  type: ({ text }) => type(text).then(() => null),
  listItem: ({ row }) => page.evaluate((row) => document.getElementById("names").options[row].textContent, row),
  listCount: () => page.evaluate(() => document.getElementById("names").options.length),
  selectedEntry: () => page.evaluate(() => document.getElementById("names").selectedIndex),
  listRowHeight: () =>
    page.evaluate(() => document.getElementById("names").options[0].getBoundingClientRect().height),
  listInnerHeight: () => page.evaluate(() => document.getElementById("names").clientHeight),
  async clickEntry({ row }) {
    const point = await page.evaluate((row) => {
      const option = document.getElementById("names").options[row];
      option.scrollIntoView({ block: "nearest" });
      const w = document.getElementById("kalvetor").getBoundingClientRect();
      const r = option.getBoundingClientRect();
      return [r.left - w.left + r.width / 2, r.top - w.top + r.height / 2];
    }, row);
    await settle();
    await clickAt(point[0], point[1]);
    return null;
  },
  boxText: () => page.evaluate(() => document.getElementById("description").value),
  boxFirstVisibleLine: () =>
    page.evaluate(() => {
      const box = document.getElementById("description");
      const style = getComputedStyle(box);
      const line = parseFloat(style.lineHeight) || parseFloat(style.fontSize) * 1.15;
      return Math.floor(box.scrollTop / line + 0.01);
    }),
  async scrollBoxToEnd() {
    const [x, y] = await page.evaluate(() => {
      const r = document.getElementById("description").getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2];
    });
    await page.mouse.move(x, y);
    await page.mouse.wheel({ deltaY: 5000 });
    await page.waitForFunction(
      () => {
        const box = document.getElementById("description");
        return box.scrollTop + box.clientHeight >= box.scrollHeight - 1;
      },
      { timeout: 30000 },
    );
    return null;
  },
  boxHasTextSelected: () =>
    page.evaluate(() => {
      const box = document.getElementById("description");
      return box.selectionStart !== box.selectionEnd;
    }),
  boxCaretPosition: () => page.evaluate(() => document.getElementById("description").selectionStart),
  clickAt: ({ x, y, modifier }) => clickAt(x, y, modifier).then(() => null),
  doubleClickAt: ({ x, y }) => clickAt(x, y, "None", 2).then(() => null),
  async drag({ fromX, fromY, toX, toY }) {
    const o = await origin();
    await page.mouse.move(o.x + fromX, o.y + fromY);
    await page.mouse.down();
    await page.mouse.move(o.x + toX, o.y + toY, { steps: 5 });
    await page.mouse.up();
    await settle();
    return null;
  },
  async turnWheelAt({ x, y, notches }) {
    const o = await origin();
    await page.mouse.move(o.x + x, o.y + y);
    await page.mouse.wheel({ deltaY: -100 * notches });
    await settle();
    return null;
  },
  setClipboard: ({ text }) => setClipboard(text).then(() => null),
  clipboard,
  // Closing the window is closing its tab; the page asks nothing first.
  async close() {
    await page.close({ runBeforeUnload: true });
    page = null;
    return 0;
  },
};

const ascii = (json) => json.replace(/[\u007f-\uffff]/g, (c) => "\\u" + c.charCodeAt(0).toString(16).padStart(4, "0"));
const reply = (message) => process.stdout.write(ascii(JSON.stringify(message)) + "\n");

const lines = readline.createInterface({ input: process.stdin });
for await (const line of lines) {
  const request = JSON.parse(line);
  try {
    const value = await calls[request.call](request);
    reply({ value: value ?? null });
  } catch (error) {
    reply({ error: `${request.call}: ${error.message}` });
  }
}
await browser.close();
