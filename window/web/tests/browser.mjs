// Starts Debian's Chromium or Firefox ESR for the web edition's tests and
// benchmark, through puppeteer-core: Chromium over CDP, Firefox over
// WebDriver BiDi. Never downloads a browser.

import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

export const browsers = {
  chromium: "/usr/bin/chromium",
  firefox: "/usr/bin/firefox-esr",
};

// Why the browser cannot run here, or null when it can.
export function missing(name) {
  const binary = browsers[name];
  if (!binary) return `no browser named ${name}`;
  if (!fs.existsSync(binary)) return `${binary} is not installed (apt-get install ${path.basename(binary)})`;
  return null;
}

// Chromium keeps shared memory in /dev/shm; where that is small (a container's
// default 64 MB) it is told to use /tmp instead.
function smallSharedMemory() {
  try {
    const { bsize, blocks } = fs.statfsSync("/dev/shm");
    return bsize * blocks < 512 * 1024 * 1024;
  } catch {
    return true;
  }
}

// Starts the browser headless with a new empty profile. Firefox takes
// preferences (a colour scheme, forced colours); Chromium emulates those
// per page instead.
export async function launch(name, { firefoxPrefs = {} } = {}) {
  const why = missing(name);
  if (why) throw new Error(why);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `kalvetor-${name}-`));
  let browser;
  if (name === "chromium") {
    const args = [
      "--headless",
      "--disable-gpu",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--font-render-hinting=none",
      `--user-data-dir=${profile}`,
    ];
    // As root, and in a chroot, Chromium's sandbox cannot start.
    if (process.getuid?.() === 0) args.push("--no-sandbox");
    if (smallSharedMemory()) {
      console.error("note: /dev/shm is small here, so Chromium keeps its shared memory in /tmp");
      args.push("--disable-dev-shm-usage");
    }
    browser = await puppeteer.launch({
      browser: "chrome",
      executablePath: browsers.chromium,
      headless: true,
      ignoreDefaultArgs: true,
      args: [...args, "about:blank"],
      protocolTimeout: 60000,
    });
  } else {
    browser = await puppeteer.launch({
      browser: "firefox",
      executablePath: browsers.firefox,
      headless: true,
      userDataDir: profile,
      extraPrefsFirefox: {
        "browser.shell.checkDefaultBrowser": false,
        "datareporting.policy.dataSubmissionEnabled": false,
        "toolkit.telemetry.reportingpolicy.firstRun": false,
        ...firefoxPrefs,
      },
      protocolTimeout: 60000,
    });
  }
  // The profile goes with this process (the browser may still be writing
  // to it when it disconnects).
  process.on("exit", () => {
    try {
      fs.rmSync(profile, { recursive: true, force: true, maxRetries: 3 });
    } catch {}
  });
  return browser;
}

// The preferences that give Firefox a colour scheme or forced colours.
export const firefoxSchemes = {
  light: { "layout.css.prefers-color-scheme.content-override": 1 },
  dark: { "layout.css.prefers-color-scheme.content-override": 0, "ui.systemUsesDarkTheme": 1 },
  forced: { "browser.display.document_color_use": 2, "browser.display.permit_backplate": true },
};
