#!/usr/bin/env python3
# End to end in headless Chromium: the served generator page is loaded, "sich anziehen" is
# typed into its form and submitted, the result must show "ziehe mich an"; then the page of
# "übersetzen" is loaded and one of its two-readings links followed. Screenshots of the page
# with the links and of the page the link led to are saved. Chromium is driven over its DevTools pipe (fd 3 and 4), standard library only.
#
#   browser_test.py BEUGWERK_PROGRAM SCREENSHOT.png
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

DEADLINE = time.monotonic() + 90  # the whole test; ctest has its own timeout above this


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


class Browser:
    """Chromium with --remote-debugging-pipe: JSON messages separated by NUL bytes."""

    def __init__(self, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        flags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile, "--remote-debugging-pipe",
                 "--window-size=900,1200", "about:blank"]
        # The pipe ends must sit on fd 3 (reading) and fd 4 (writing) in the child; a shell
        # moves them there after the other descriptors are closed.
        command = 'exec chromium "$@" 3<&%d 4>&%d' % (to_browser_r, from_browser_w)
        self.proc = subprocess.Popen(["sh", "-c", command, "chromium"] + flags,
                                     pass_fds=(to_browser_r, from_browser_w),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.session = None

    def _read_message(self):
        while b"\0" not in self.buffer:
            if time.monotonic() > DEADLINE:
                fail("browser did not answer in time")
            chunk = os.read(self.from_browser, 65536)
            if not chunk:
                fail("browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=True, navigating=False):
        """The command's result. With navigating, an evaluation cut short because the page
        navigated (a click that submits, a load still going on) gives None: the caller asks
        again on the next page."""
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            answer = self._read_message()
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    if navigating and "navigated or closed" in answer["error"].get("message", ""):
                        return None
                    fail(method + ": " + json.dumps(answer["error"]))
                return answer.get("result", {})

    def attach(self):
        targets = self.send("Target.getTargets", session=False)["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.send("Target.attachToTarget",
                                 {"targetId": page["targetId"], "flatten": True},
                                 session=False)["sessionId"]

    def evaluate(self, expression, navigating=False):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True},
                           navigating=navigating)
        return None if result is None else result.get("result", {}).get("value")

    def wait_for(self, expression, what):
        while time.monotonic() < DEADLINE:
            if self.evaluate(expression, navigating=True):
                return
            time.sleep(0.1)
        fail("waited in vain for " + what + "; page: " + str(self.evaluate("location.href")))

    def close(self):
        try:
            self.send("Browser.close", session=False)
            self.proc.wait(timeout=10)
        except Exception:
            pass
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def save_screenshot(browser, path):
    shot = browser.send("Page.captureScreenshot", {"format": "png"})
    with open(path, "wb") as f:
        f.write(base64.b64decode(shot["data"]))


def start_server(program):
    server = subprocess.Popen([program, "serve", "--port", "0", "--log"],
                              stderr=subprocess.PIPE, text=True)
    first = server.stderr.readline()  # "beugwerk serve: http://127.0.0.1:PORT/..."
    if "http://" not in first:
        server.kill()
        fail("server did not start: " + first)
    return server, first.split("serve: ", 1)[1].strip()


def main():
    program, screenshot = sys.argv[1], sys.argv[2]
    server, page_url = start_server(program)
    profile = tempfile.mkdtemp(prefix="beugwerk-chromium-")
    browser = Browser(profile)
    try:
        browser.attach()
        browser.send("Page.enable")
        browser.send("Page.navigate", {"url": page_url})
        browser.wait_for("document.readyState == 'complete' && "
                         "document.title.includes('den Generator ausprobieren')", "the start page")

        # Type into the form as a person would: focus, select what is there, insert the text.
        browser.evaluate("(() => { const i = document.querySelector('input[name=infi]');"
                         " i.focus(); i.select(); })()")
        browser.send("Input.insertText", {"text": "sich anziehen"})
        browser.evaluate("document.querySelector('input[type=submit]').click()", navigating=True)
        browser.wait_for("document.readyState == 'complete' && "
                         "document.title == 'Deutsche Verbformen: sich anziehen'", "the result page")
        if "ich ziehe mich an" not in browser.evaluate("document.body.innerText"):
            fail("'ziehe mich an' not on the result page")
        if "infi=sich+anziehen" not in browser.evaluate("location.href"):
            fail("the form did not submit its query: " + browser.evaluate("location.href"))

        # A verb left open by its prefix: follow the separable reading's link.
        browser.send("Page.navigate", {"url": page_url + "?infi=%C3%BCbersetzen"})
        browser.wait_for("document.readyState == 'complete' && "
                         "document.title == 'Deutsche Verbformen: übersetzen'", "the übersetzen page")
        save_screenshot(browser, screenshot.replace(".png", "-readings.png"))
        links = browser.evaluate("Array.from(document.querySelectorAll('a'))"
                                 ".filter(a => a.href.includes('infi=')).map(a => a.textContent)")
        # The two readings, then the page's own link to all forms.
        if links != ["'übersetzen", "über'setzen",
                     "alle Formen (Konjunktiv der Vergangenheit, würde-Formen, Passiv)"]:
            fail("two-readings links: " + json.dumps(links))
        browser.evaluate("Array.from(document.querySelectorAll('a'))"
                         ".find(a => a.textContent == \"'übersetzen\").click()", navigating=True)
        browser.wait_for("document.readyState == 'complete' && "
                         "document.title == \"Deutsche Verbformen: 'übersetzen\"", "the reading's page")
        text = browser.evaluate("document.body.innerText")
        if "er setzt 'über" not in text or "nicht eindeutig" in text:
            fail("the reading's page is not the separable one")

        save_screenshot(browser, screenshot)
        print("ok; screenshots " + screenshot)
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()
            fail("server did not stop on SIGTERM")
    if server.returncode != 0:
        fail("server ended with status %d" % server.returncode)


if __name__ == "__main__":
    main()
