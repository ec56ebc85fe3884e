"""Headless Chromium driven through its DevTools protocol over a pipe (no sockets, no packages)."""
import fcntl
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--mute-audio", "--autoplay-policy=no-user-gesture-required",
         # Any name but the loopback address fails, so nothing can come from the network.
         "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"]


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


class BrowserError(Exception):
    pass


class Browser:
    """One browser process; commands go to the browser or, with a session id, to a page."""

    def __init__(self, executable=None, timeout=30):
        self.timeout = timeout
        self.profile = tempfile.mkdtemp(prefix="storefront-profile-")
        commands_read, self._commands = os.pipe()
        self._replies, replies_write = os.pipe()

        def child_pipes():
            # The browser reads commands from fd 3 and writes replies to fd 4.
            high_read = fcntl.fcntl(commands_read, fcntl.F_DUPFD, 10)
            high_write = fcntl.fcntl(replies_write, fcntl.F_DUPFD, 10)
            os.dup2(high_read, 3)
            os.dup2(high_write, 4)

        self.process = subprocess.Popen(
            [executable or find_chromium()] + FLAGS +
            ["--remote-debugging-pipe", "--user-data-dir=" + self.profile, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=child_pipes, close_fds=False)
        os.close(commands_read)
        os.close(replies_write)
        self._next_id = 0
        self._replies_by_id = {}
        self.events = []
        self._condition = threading.Condition()
        self._reader = threading.Thread(target=self._read_replies, daemon=True)
        self._reader.start()

    def _read_replies(self):
        buffer = b""
        while True:
            try:
                chunk = os.read(self._replies, 65536)
            except OSError:
                chunk = b""
            if not chunk:
                with self._condition:
                    self._replies_by_id[None] = "closed"
                    self._condition.notify_all()
                return
            buffer += chunk
            while b"\0" in buffer:
                message, buffer = buffer.split(b"\0", 1)
                reply = json.loads(message)
                with self._condition:
                    if "id" in reply:
                        self._replies_by_id[reply["id"]] = reply
                    else:
                        self.events.append(reply)
                    self._condition.notify_all()

    def send(self, method, params=None, session=None):
        with self._condition:
            self._next_id += 1
            ident = self._next_id
        message = {"id": ident, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self._commands, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + self.timeout
        with self._condition:
            while ident not in self._replies_by_id:
                if None in self._replies_by_id:
                    raise BrowserError("the browser ended while running " + method)
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    raise BrowserError("no answer to " + method)
                self._condition.wait(remaining)
            reply = self._replies_by_id.pop(ident)
        if "error" in reply:
            raise BrowserError("%s: %s" % (method, reply["error"].get("message")))
        return reply.get("result", {})

    def wait_event(self, predicate, timeout=None):
        """The first event so far or to come for which predicate(event) is true."""
        deadline = time.monotonic() + (timeout or self.timeout)
        with self._condition:
            while True:
                for event in self.events:
                    if predicate(event):
                        return event
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    raise BrowserError("event did not come")
                self._condition.wait(remaining)

    def new_page(self, width=1280, height=900):
        target = self.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        return self.attach(target, width, height)

    def attach(self, target, width=None, height=None):
        session = self.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        return Page(self, session, target, width, height)

    def close(self):
        try:
            self.send("Browser.close")
        except BrowserError:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self._commands)
        self._reader.join(5)
        os.close(self._replies)
        shutil.rmtree(self.profile, ignore_errors=True)


class Page:
    """One tab: navigation, script evaluation, keys, and what it asked of the network."""

    def __init__(self, browser, session, target, width, height):
        self.browser = browser
        self.session = session
        self.target = target
        self.requests = []
        self.dialogs = []
        for domain in ("Page", "Runtime", "Network"):
            self.send(domain + ".enable")
        if width:
            self.resize(width, height)

    def send(self, method, params=None):
        return self.browser.send(method, params, self.session)

    def resize(self, width, height):
        self.send("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})

    def add_script(self, source):
        """Runs source in every document this page loads, before the page's own scripts."""
        self.send("Page.addScriptToEvaluateOnNewDocument", {"source": source})

    def navigate(self, url):
        """Loads url; a change of the fragment alone is not a load and returns at once."""
        self._until_loaded(lambda: "loaderId" in self.send("Page.navigate", {"url": url}))

    def reload(self):
        self._until_loaded(lambda: self.send("Page.reload") is not None)

    def _until_loaded(self, start):
        before = len(self.browser.events)
        if start():
            self.browser.wait_event(lambda e: e.get("sessionId") == self.session and
                                    e["method"] == "Page.loadEventFired" and
                                    self.browser.events.index(e) >= before)

    def evaluate(self, expression, user_gesture=False):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "awaitPromise": True, "userGesture": user_gesture})
        if "exceptionDetails" in result:
            raise BrowserError("%s\n%s" % (expression, json.dumps(result["exceptionDetails"])[:800]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout=None):
        deadline = time.monotonic() + (timeout or self.browser.timeout)
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise BrowserError("still false: " + expression)
            time.sleep(0.05)

    def press(self, key):
        """Tab or Enter, as the keyboard gives them."""
        code = {"Tab": 9, "Enter": 13}[key]
        params = {"key": key, "code": key, "windowsVirtualKeyCode": code}
        if key == "Enter":
            params["text"] = "\r"
        self.send("Input.dispatchKeyEvent", dict(params, type="keyDown"))
        self.send("Input.dispatchKeyEvent", dict(params, type="keyUp"))

    def network_requests(self):
        return [e["params"]["request"]["url"] for e in self.browser.events
                if e.get("sessionId") == self.session and e["method"] == "Network.requestWillBeSent"]

    def dialogs_opened(self):
        return [e["params"]["message"] for e in self.browser.events
                if e.get("sessionId") == self.session and e["method"] == "Page.javascriptDialogOpening"]
