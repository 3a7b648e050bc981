// The web page's first contentful paint against a bare page with the same
// three controls and texts and no script (bare.html, written by the same
// build tool), each loaded from disk into a fresh tab, alternately, after
// one warm-up load each; the median of the loads. Chromium first, Firefox
// as a second opinion. Also: how much of the page is not its texts.
//
//   node run_benchmark.mjs <site-dir> [loads]

import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launch, missing } from "../../window/web/tests/browser.mjs";

const [site, loadsArgument] = process.argv.slice(2);
const loads = Number(loadsArgument ?? 25);
const pages = { page: "kalvetor.html", bare: "bare.html" };

async function firstContentfulPaint(browser, file) {
  const tab = await browser.newPage();
  await tab.setViewport({ width: 1024, height: 768 });
  await tab.goto(pathToFileURL(path.join(site, file)).href, { waitUntil: "load" });
  const fcp = await tab.waitForFunction(
    () => performance.getEntriesByName("first-contentful-paint")[0]?.startTime,
    { timeout: 30000 },
  );
  const value = await fcp.jsonValue();
  await tab.close();
  return value;
}

// The value below which a share of the values lie (0.5: the median).
const quantile = (values, share) => {
  const sorted = [...values].sort((a, b) => a - b);
  const at = (sorted.length - 1) * share;
  return sorted[Math.floor(at)] + (sorted[Math.ceil(at)] - sorted[Math.floor(at)]) * (at - Math.floor(at));
};
const spread = (values) => `quartiles ${quantile(values, 0.25).toFixed(0)}–${quantile(values, 0.75).toFixed(0)} ms`;

// The bytes of the page that are not the catalogue's texts: its markup,
// style, script and icon.
async function overhead(browser) {
  const tab = await browser.newPage();
  await tab.goto(pathToFileURL(path.join(site, pages.page)).href);
  const texts = await tab.evaluate(() =>
    [document.getElementById("title"), document.getElementById("introduction"),
      ...document.querySelectorAll("#entries h2, #entries p")].map((e) => e.textContent).join(""),
  );
  await tab.close();
  const size = fs.statSync(path.join(site, pages.page)).size;
  return { size, texts: Buffer.byteLength(texts, "utf8") };
}

console.log(`first contentful paint, median of ${loads} loads from disk, 1024 x 768`);
for (const name of ["chromium", "firefox"]) {
  if (missing(name)) {
    console.log(`${name}: skipped, ${missing(name)}`);
    continue;
  }
  const browser = await launch(name);
  try {
    const times = { page: [], bare: [] };
    for (const kind of Object.keys(pages)) await firstContentfulPaint(browser, pages[kind]);
    for (let i = 0; i < loads; ++i) {
      for (const kind of Object.keys(pages)) times[kind].push(await firstContentfulPaint(browser, pages[kind]));
    }
    const page = quantile(times.page, 0.5);
    const bare = quantile(times.bare, 0.5);
    const ratio = page / bare;
    console.log(`${name}: kalvetor.html ${page.toFixed(1)} ms (${spread(times.page)}), ` +
      `bare page ${bare.toFixed(1)} ms (${spread(times.bare)}), ` +
      `${ratio.toFixed(2)}x (goal 1.10x or less${ratio <= 1.1 ? ", met" : ", MISSED"})`);
    if (name === "chromium") {
      const { size, texts } = await overhead(browser);
      const rest = size - texts;
      console.log(`kalvetor.html: ${size} bytes, ${texts} of them texts, ${rest} bytes (${(rest / 1024).toFixed(1)} KiB) ` +
        `not texts (goal 16 KiB or less${rest <= 16 * 1024 ? ", met" : ", MISSED"})`);
    }
  } finally {
    await browser.close();
  }
}
