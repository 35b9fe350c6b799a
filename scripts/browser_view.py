#!/usr/bin/env python3
"""Opens a page in headless Chromium and drives it through the DevTools
protocol over a pipe (no network port of its own).

Usage: browser_view.py URL STEP...
  wait-class CLASS SECONDS   wait until <html> carries CLASS (noVNC sets
                             "noVNC_connected" once it shows the remote screen)
  sleep SECONDS
  shot FILE                  the browser's own screenshot, as PNG
  click X Y                  a left click at page coordinates
  drag X1 Y1 X2 Y2           press at X1,Y1, move in steps, release at X2,Y2
Exits 1 when a wait runs out, 2 when Chromium does not answer.
"""
import base64
import json
import os
import subprocess
import sys
import time

WIDTH, HEIGHT = 1024, 768


class Browser:
    def __init__(self):
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()
        # Chromium reads commands on descriptor 3 and answers on 4.
        command = (
            "exec chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars "
            "--no-first-run --user-data-dir=\"$ORVANE_BROWSER_PROFILE\" "
            f"--window-size={WIDTH},{HEIGHT} --remote-debugging-pipe about:blank "
            f"3<&{to_browser_r} 4>&{from_browser_w} 2>/dev/null"
        )
        self.process = subprocess.Popen(
            ["bash", "-c", command], pass_fds=(to_browser_r, from_browser_w)
        )
        os.close(to_browser_r)
        os.close(from_browser_w)
        self._buffer = b""
        self._next_id = 0
        self.session = None

    def call(self, method, params=None, session=True, timeout=30):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.time() + timeout
        while time.time() < deadline:
            while b"\0" in self._buffer:
                raw, self._buffer = self._buffer.split(b"\0", 1)
                reply = json.loads(raw)
                if reply.get("id") == self._next_id:
                    if "error" in reply:
                        raise RuntimeError(f"{method}: {reply['error']}")
                    return reply.get("result", {})
            chunk = os.read(self._from_browser, 1 << 20)
            if not chunk:
                break
            self._buffer += chunk
        print(f"browser_view: no answer to {method}", file=sys.stderr)
        sys.exit(2)

    def open(self, url):
        target = self.call("Target.createTarget", {"url": url}, session=False)["targetId"]
        self.session = self.call(
            "Target.attachToTarget", {"targetId": target, "flatten": True}, session=False
        )["sessionId"]
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": WIDTH, "height": HEIGHT, "deviceScaleFactor": 1, "mobile": False})

    def has_class(self, name):
        result = self.call("Runtime.evaluate", {
            "expression": f"document.documentElement.classList.contains({json.dumps(name)})",
            "returnByValue": True})
        return result.get("result", {}).get("value") is True

    def mouse(self, kind, x, y, buttons=0):
        params = {"type": kind, "x": x, "y": y, "button": "left", "buttons": buttons}
        if kind != "mouseMoved":
            params["clickCount"] = 1
        self.call("Input.dispatchMouseEvent", params)

    def shot(self, path):
        data = self.call("Page.captureScreenshot", {"format": "png"})["data"]
        with open(path, "wb") as out:
            out.write(base64.b64decode(data))

    def close(self):
        try:
            self.call("Browser.close", session=False, timeout=5)
        except SystemExit:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    browser = Browser()
    try:
        browser.open(argv[1])
        steps = argv[2:]
        while steps:
            step = steps.pop(0)
            if step == "wait-class":
                name, seconds = steps.pop(0), float(steps.pop(0))
                deadline = time.time() + seconds
                while not browser.has_class(name):
                    if time.time() > deadline:
                        print(f"browser_view: the page never got class {name}", file=sys.stderr)
                        return 1
                    time.sleep(0.25)
            elif step == "sleep":
                time.sleep(float(steps.pop(0)))
            elif step == "shot":
                browser.shot(steps.pop(0))
            elif step == "click":
                x, y = float(steps.pop(0)), float(steps.pop(0))
                browser.mouse("mouseMoved", x, y)
                browser.mouse("mousePressed", x, y, 1)
                browser.mouse("mouseReleased", x, y)
            elif step == "drag":
                x1, y1, x2, y2 = (float(steps.pop(0)) for _ in range(4))
                browser.mouse("mouseMoved", x1, y1)
                browser.mouse("mousePressed", x1, y1, 1)
                # Wine enters its move loop a moment after the press.
                time.sleep(0.5)
                for i in range(1, 11):
                    time.sleep(0.1)
                    browser.mouse("mouseMoved", x1 + (x2 - x1) * i / 10,
                                  y1 + (y2 - y1) * i / 10, 1)
                browser.mouse("mouseReleased", x2, y2)
            else:
                print(f"browser_view: unknown step {step}", file=sys.stderr)
                return 2
        return 0
    finally:
        browser.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
