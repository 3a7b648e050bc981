// The web page's checks beyond the conformance suite, in one browser:
// accessibility (axe-core) in every palette and width, the phone's layout,
// links to entries, printing, the page without scripts, no request beyond
// the page, and the hosted folder's offline start. They compare behaviour,
// the accessibility tree and contrast, never pictures.
//
//   node checks.mjs chromium|firefox <site-dir>
//   KALVETOR_CHECK=printing node checks.mjs chromium <site-dir>
//
// Ends with 0 when every check passed, 1 when one failed, and 77 (skipped)
// when the browser or the npm packages are missing here.

import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { execFileSync } from "node:child_process";
import { pathToFileURL } from "node:url";

const [name, site] = process.argv.slice(2);
let browserModule;
try {
  browserModule = await import("./browser.mjs");
} catch (error) {
  console.log(`skipped: the tests' npm packages are not installed (scripts/install-deps): ${error.message}`);
  process.exit(77);
}
const { launch, missing, firefoxSchemes } = browserModule;
if (missing(name)) {
  console.log(`skipped: ${missing(name)}`);
  process.exit(77);
}

const here = path.dirname(new URL(import.meta.url).pathname);
const axeSource = fs.readFileSync(path.join(here, "node_modules/axe-core/axe.min.js"), "utf8");
const pageUrl = pathToFileURL(path.join(site, "kalvetor.html")).href;
const chromium = name === "chromium";

let passed = 0;
let failed = 0;
let skipped = 0;
// KALVETOR_CHECK=<words> runs only the checks whose title holds them.
const only = process.env.KALVETOR_CHECK;
async function check(title, body) {
  if (only && !title.includes(only)) return;
  try {
    const note = await body();
    if (note?.skipped) {
      console.log(`skip ${title}: ${note.skipped}`);
      ++skipped;
    } else {
      console.log(`ok   ${title}`);
      ++passed;
    }
  } catch (error) {
    console.log(`FAIL ${title}: ${error.message}`);
    ++failed;
  }
}
function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// What the page's window holds, read through the DOM.
const state = (page) =>
  page.evaluate(() => ({
    selected: document.getElementById("names").selectedIndex,
    box: document.getElementById("description").value,
    hash: location.hash,
    history: history.length,
    introduction: document.getElementById("introduction").textContent,
    names: Array.from(document.querySelectorAll("#entries h2"), (h) => h.textContent),
    descriptions: Array.from(document.querySelectorAll("#entries p"), (p) => p.textContent),
    ids: Array.from(document.querySelectorAll("#entries section"), (s) => s.id),
  }));

const ready = (page) =>
  page.waitForFunction(() => document.documentElement.classList.contains("live"), { timeout: 30000 });

async function open(browser, url, viewport = { width: 1024, height: 768 }) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.goto(url);
  await page.bringToFront();
  return page;
}

const widths = [
  { label: "desktop", width: 1024, height: 768 },
  { label: "320 px portrait", width: 320, height: 568 },
  { label: "phone landscape", width: 568, height: 320 },
];
const schemes = ["light", "dark", "forced"];

async function axeViolations(page) {
  await page.evaluate(axeSource);
  return page.evaluate(async () => {
    const result = await window.axe.run(document, { resultTypes: ["violations"] });
    return result.violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(" ")).join(", ")})`);
  });
}

// The phone's layout: nothing sideways, rows to tap, text at its size.
async function layoutProblems(page, viewport) {
  return page.evaluate((narrow) => {
    const problems = [];
    const root = document.documentElement;
    if (root.scrollWidth > root.clientWidth) problems.push(`scrolls sideways (${root.scrollWidth} px wide)`);
    const rows = Array.from(document.getElementById("names").options, (o) => o.getBoundingClientRect().height);
    if (narrow && rows.some((h) => h < 24)) problems.push(`list rows of ${Math.min(...rows)} px`);
    for (const id of ["title", "names", "description"]) {
      const element = document.getElementById(id);
      const r = element.getBoundingClientRect();
      if (r.width === 0 || r.height === 0) problems.push(`${id} is not shown`);
      if (r.right > root.clientWidth + 0.5) problems.push(`${id} reaches past the right edge`);
      if (parseFloat(getComputedStyle(element).fontSize) < 16) problems.push(`${id}'s text is under 16 px`);
    }
    const order = ["title", "names", "description"].map((id) => document.getElementById(id).getBoundingClientRect());
    if (narrow && !(order[0].bottom <= order[1].top && order[1].bottom <= order[2].top)) {
      problems.push("not title, list, then description from the top");
    }
    return problems;
  }, viewport.width < 441);
}

async function paletteChecks() {
  for (const scheme of schemes) {
    const browser = await launch(name, { firefoxPrefs: firefoxSchemes[scheme] });
    try {
      for (const viewport of widths) {
        await check(`axe-core finds nothing, ${scheme} colours, ${viewport.label}`, async () => {
          const page = await open(browser, "about:blank", viewport);
          if (chromium) {
            const session = await page.createCDPSession();
            await session.send("Emulation.setEmulatedMedia", {
              features: [
                { name: "prefers-color-scheme", value: scheme === "dark" ? "dark" : "light" },
                { name: "forced-colors", value: scheme === "forced" ? "active" : "none" },
              ],
            });
          }
          await page.goto(pageUrl);
          await ready(page);
          const matches = await page.evaluate(() => ({
            dark: matchMedia("(prefers-color-scheme: dark)").matches,
            forced: matchMedia("(forced-colors: active)").matches,
          }));
          expect(matches.dark === (scheme === "dark"), `prefers-color-scheme: dark is ${matches.dark}`);
          expect(matches.forced === (scheme === "forced"), `forced-colors: active is ${matches.forced}`);
          const violations = await axeViolations(page);
          expect(violations.length === 0, violations.join("; "));
          const problems = await layoutProblems(page, viewport);
          expect(problems.length === 0, problems.join("; "));
          await page.close();
        });
      }
      if (scheme === "light") {
        await check("at 200 % zoom the desktop window loses nothing", async () => {
          // A 1280 x 720 screen at 200 %: a viewport of 640 x 360 CSS pixels.
          const page = await open(browser, pageUrl, { width: 640, height: 360, deviceScaleFactor: 2 });
          await ready(page);
          const problems = await layoutProblems(page, { width: 640 });
          expect(problems.length === 0, problems.join("; "));
          await page.close();
        });
      }
    } finally {
      await browser.close();
    }
  }
}

async function pageChecks(browser) {
  await check("a link opens its entry, choosing replaces the address, an unknown id opens the introduction", async () => {
    const first = await open(browser, pageUrl);
    await ready(first);
    const all = await state(first);
    await first.close();
    const wanted = all.ids.indexOf("hristo-botev");
    expect(wanted >= 0, `no entry hristo-botev among ${all.ids.join(" ")}`);

    const page = await open(browser, `${pageUrl}#hristo-botev`);
    await ready(page);
    let now = await state(page);
    expect(now.selected === wanted, `selected ${now.selected}, not ${wanted}`);
    expect(now.box === all.descriptions[wanted], "the box does not show Hristo Botev's description");
    const before = now.history;
    await page.keyboard.press("Tab");
    await page.keyboard.press("ArrowUp");
    now = await state(page);
    expect(now.selected === wanted - 1, `after Up selected ${now.selected}`);
    expect(now.hash === `#${all.ids[wanted - 1]}`, `the address ends in ${now.hash}`);
    expect(now.history === before, `history grew from ${before} to ${now.history}`);
    await page.close();

    const unknown = await open(browser, `${pageUrl}#no-such-entry`);
    await ready(unknown);
    now = await state(unknown);
    expect(now.selected === -1 && now.box === all.introduction, "an unknown id did not open the introduction");
    await unknown.close();
  });

  await check("with scripts off every text shows, once", async () => {
    const live = await open(browser, pageUrl);
    await ready(live);
    const texts = await state(live);
    await live.close();
    // Chromium turns scripts off for one page, Firefox by a preference.
    const without = chromium ? browser : await launch(name, { firefoxPrefs: { "javascript.enabled": false } });
    try {
      const page = await without.newPage();
      if (chromium) await page.setJavaScriptEnabled(false);
      await page.setViewport({ width: 1024, height: 768 });
      await page.goto(pageUrl);
      const seen = await page.evaluate(() => {
        const shown = (element) => element.getClientRects().length > 0;
        return {
          live: document.documentElement.classList.contains("live"),
          text: document.body.innerText,
          controls: ["names", "description"].filter((id) => shown(document.getElementById(id))),
          sections: Array.from(document.querySelectorAll("#entries section")).filter(shown).length,
          introduction: shown(document.getElementById("introduction")),
        };
      });
      await page.close();
      expect(!seen.live, "the script ran");
      expect(seen.controls.length === 0, `empty controls shown: ${seen.controls.join(", ")}`);
      expect(seen.introduction, "the introduction is not shown");
      expect(seen.sections === texts.ids.length, `${seen.sections} of ${texts.ids.length} entries shown`);
      const count = (part) => seen.text.split(part.trim()).length - 1;
      for (const [i, entryName] of texts.names.entries()) {
        expect(count(entryName) >= 1, `${entryName} is not shown`);
        expect(count(texts.descriptions[i]) === 1, `${entryName}'s description is not shown once`);
      }
    } finally {
      if (!chromium) await without.close();
    }
  });

  await check("no request beyond the page, no policy violation", async () => {
    const page = await browser.newPage();
    const requests = [];
    const errors = [];
    page.on("request", (request) => requests.push(request.url()));
    page.on("console", (message) => {
      if (message.type() === "error") errors.push(message.text());
    });
    page.on("pageerror", (error) => errors.push(error.message));
    await page.goto(pageUrl);
    await ready(page);
    await page.keyboard.press("Tab");
    await page.keyboard.press("ArrowDown");
    await page.keyboard.press("End");
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0))));
    await page.close();
    const others = requests.filter((url) => url.split("#")[0] !== pageUrl && !url.startsWith("data:"));
    expect(others.length === 0, `requested ${others.join(", ")}`);
    expect(errors.length === 0, errors.join("; "));
  });

  await check("printing gives the title, the chosen name and its whole description, black on white, on A4", async () => {
    if (!chromium) return { skipped: "the PDF is read back from Chromium" };
    const page = await open(browser, `${pageUrl}#hristo-botev`);
    await ready(page);
    const texts = await state(page);
    const wanted = texts.ids.indexOf("hristo-botev");
    await page.emulateMediaType("print");
    const colours = await page.evaluate(() =>
      ["title", "hristo-botev"].map((id) => {
        const style = getComputedStyle(document.getElementById(id));
        return [style.color, getComputedStyle(document.documentElement).backgroundColor, style.backgroundColor];
      }),
    );
    for (const [text, page_, own] of colours) {
      expect(text === "rgb(0, 0, 0)", `printed text in ${text}`);
      expect([page_, own].every((c) => c === "rgb(255, 255, 255)" || c === "rgba(0, 0, 0, 0)"), `on ${own}`);
    }
    const pdf = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "kalvetor-print-")), "page.pdf");
    fs.writeFileSync(pdf, await page.pdf({ preferCSSPageSize: true, printBackground: true }));
    await page.close();
    const text = execFileSync("pdftotext", ["-enc", "UTF-8", pdf, "-"], { encoding: "utf8" }).replace(/\s+/g, " ");
    const info = execFileSync("pdfinfo", [pdf], { encoding: "utf8" });
    fs.rmSync(path.dirname(pdf), { recursive: true });
    const flat = (s) => s.replace(/\s+/g, " ").trim();
    expect(text.includes(flat(await titleOf())), "no title printed");
    expect(text.includes(flat(texts.names[wanted])), "the chosen name is not printed");
    expect(text.includes(flat(texts.descriptions[wanted])), "the whole description is not printed");
    const others = texts.names.filter((n, i) => i !== wanted && text.includes(flat(texts.descriptions[i])));
    expect(others.length === 0, `other entries printed: ${others.join(", ")}`);
    const size = info.match(/Page size:\s+([\d.]+) x ([\d.]+) pts/);
    expect(size && Math.abs(size[1] - 595.3) < 1 && Math.abs(size[2] - 841.9) < 1, `page size ${size?.[0]}`);
  });
}

async function titleOf() {
  const html = fs.readFileSync(path.join(site, "kalvetor.html"), "utf8");
  return html.match(/<h1[^>]*>([^<]*)<\/h1>/)[1];
}

// The hosted folder from a static server of the test's own on 127.0.0.1:
// one visit installs the service worker, then the page opens with the
// server gone.
async function offlineCheck(browser) {
  await check("the hosted folder installs and opens offline after one visit", async () => {
    const folder = path.join(site, "kalvetor-web");
    const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".png": "image/png",
      ".webmanifest": "application/manifest+json" };
    const server = http.createServer((request, response) => {
      const file = path.join(folder, decodeURIComponent(new URL(request.url, "http://x").pathname));
      const target = file.endsWith("/") ? path.join(file, "index.html") : file;
      if (!target.startsWith(folder) || !fs.existsSync(target)) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { "content-type": types[path.extname(target)] ?? "application/octet-stream" });
      response.end(fs.readFileSync(target));
    });
    await new Promise((done) => server.listen(0, "127.0.0.1", done));
    const origin = `http://127.0.0.1:${server.address().port}/`;
    const page = await open(browser, origin);
    const requests = [];
    page.on("request", (request) => requests.push(request.url()));
    await ready(page);
    // The worker installed and in charge of the page (it claims it).
    await page
      .waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 30000 })
      .catch(() => {
        throw new Error("no service worker took charge of the page");
      });
    const manifestUrl = await page.evaluate(() => document.querySelector("link[rel=manifest]").href);
    const manifest = await (await fetch(manifestUrl)).json();
    expect(manifest.lang === "bg" && manifest.name === (await titleOf()), `manifest named ${manifest.name}`);
    const sizes = manifest.icons.map((icon) => icon.sizes).sort();
    expect(sizes.join() === "192x192,512x512", `icons of ${sizes.join(", ")}`);
    if (chromium) {
      // What Chromium would not install the app for: nothing.
      const session = await page.createCDPSession();
      const { installabilityErrors } = await session.send("Page.getInstallabilityErrors");
      expect(installabilityErrors.length === 0, installabilityErrors.map((e) => e.errorId).join(", "));
    }
    await new Promise((done) => server.close(done));
    server.closeAllConnections?.();
    await page.reload();
    await ready(page);
    const offline = await state(page);
    expect(offline.names.length === 24 && offline.box === offline.introduction, "the page did not open offline");
    await page.close();
    const elsewhere = requests.filter((url) => !url.startsWith(origin) && !url.startsWith("data:"));
    expect(elsewhere.length === 0, `requested ${elsewhere.join(", ")}`);
  });
}

await paletteChecks();
const browser = await launch(name);
try {
  await pageChecks(browser);
  await offlineCheck(browser);
} finally {
  await browser.close();
}
console.log(`${name}: ${passed} passed, ${failed} failed, ${skipped} skipped`);
process.exit(failed > 0 ? 1 : 0);
