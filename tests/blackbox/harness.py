"""Running the program under test, natively or through Wine, and checking
what it did."""

import difflib
import os
import re
import shutil
import subprocess
import threading
import time

# Every run is bounded so that a hang fails the case instead of stalling.
RUN_TIMEOUT = 60
RECORD_TIMEOUT = 30

# Stands for the eight hex digits of the report's code position.
HEX8 = object()


class Skip(Exception):
    """The case cannot be expressed on this build; the message says why."""


class CaseFailed(Exception):
    pass


class Result:
    def __init__(self, stdout, code, elapsed):
        self.stdout = stdout
        self.code = code
        self.elapsed = elapsed


def windows_path(path):
    """The path a Windows program under Wine sees for a Unix path."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Target:
    """The program under test: a native executable or a Windows exe under Wine."""

    def __init__(self, program, recorder, cmdrun=None, wine=None, wineprefix=None):
        self.program = program
        self.recorder = recorder
        self.cmdrun = cmdrun
        self.wine = wine
        self.wineprefix = wineprefix
        self.windows = wine is not None
        self.module = os.path.basename(program)
        self.env = dict(os.environ)
        if self.windows:
            for name in ("DISPLAY", "WAYLAND_DISPLAY"):
                self.env.pop(name, None)
            self.env.update(
                WINEPREFIX=wineprefix,
                WINEDEBUG="-all",
                WINEDLLOVERRIDES="mscoree,mshtml=",
            )

    def describe(self):
        if self.windows:
            return f"{self.program} under {self.wine} (prefix {self.wineprefix})"
        return self.program

    def _wineserver(self, *args):
        # The server keeps the streams it is given: hand it none to hold.
        server = os.path.join(os.path.dirname(self.wine), "wineserver")
        subprocess.run([server, *args], env=self.env, timeout=120,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def start(self):
        if not self.windows:
            return
        # One server for the whole suite keeps each run short. It must come
        # first: a server that a Wine command starts would refuse it.
        os.makedirs(self.wineprefix, exist_ok=True)
        self._wineserver("-p")
        if not os.path.exists(os.path.join(self.wineprefix, "system.reg")):
            started = time.monotonic()
            subprocess.run([self.wine, "wineboot", "-i"], env=self.env, timeout=600,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           stdin=subprocess.DEVNULL, check=True)
            print(f"made Wine prefix in {time.monotonic() - started:.0f}s")

    def stop(self):
        if self.windows:
            self._wineserver("-k")

    def command(self, args, raw, hold):
        if not self.windows:
            if raw is not None or hold is not None:
                raise Skip("a raw command line exists on Windows only")
            return [self.program, *args]
        if raw is None and hold is None:
            return [self.wine, self.program, *args]
        if raw is None:
            raw = b'"' + self.module.encode() + b'"'
        command = [self.wine, self.cmdrun, windows_path(self.program), raw.hex()]
        if hold is not None:
            command.append(hold)
        return command


class Context:
    """One case's working directory and the ways to run the program in it."""

    def __init__(self, target, workdir):
        self.target = target
        self.workdir = workdir
        self.windows = target.windows
        self.module = target.module.encode()

    def path(self, *parts):
        return os.path.join(self.workdir, *parts)

    def write(self, name, data):
        path = self.path(name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)
        return path

    def write_ini(self, data, name="Tolvarin.ini"):
        return self.write(name, data)

    def host_path(self, path):
        """A path as the program under test spells it."""
        return windows_path(path) if self.windows else os.path.abspath(path)

    def run(self, args=(), stdin=b"", keep_stdin_open=False, raw=None, hold=None,
            stdout=None, env=None, cwd=None, timeout=RUN_TIMEOUT, close_fds=(),
            on_started=None):
        """Runs the program and returns its Result.

        stdin: bytes fed through a pipe, or None for no standard input at all.
        keep_stdin_open: the pipe stays open after the bytes, so only what was
        sent can end the Enter prompt. raw: on Windows, the exact command line.
        hold: a file that another Windows process holds open for writing.
        stdout: a file object to write to instead of a pipe.
        close_fds: standard descriptors the program starts without.
        on_started: called with the process once it runs, e.g. to read its
        output and go away.
        """
        command = self.target.command(list(args), raw, hold)
        full_env = dict(self.target.env)
        if env:
            full_env.update(env)
        started = time.monotonic()
        process = subprocess.Popen(
            command, cwd=cwd or self.workdir, env=full_env,
            stdin=subprocess.DEVNULL if stdin is None else subprocess.PIPE,
            stdout=subprocess.PIPE if stdout is None else stdout,
            stderr=subprocess.DEVNULL, start_new_session=True,
            preexec_fn=(lambda: [os.close(fd) for fd in close_fds]) if close_fds else None)
        chunks = []
        reader = None
        if on_started:
            reader = threading.Thread(target=lambda: chunks.append(on_started(process)))
            reader.start()
        elif stdout is None:
            reader = threading.Thread(target=lambda: chunks.append(process.stdout.read()))
            reader.start()
        try:
            if stdin is not None:
                try:
                    process.stdin.write(stdin)
                    process.stdin.flush()
                    if not keep_stdin_open:
                        process.stdin.close()
                except BrokenPipeError:
                    pass
            try:
                code = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, 9)
                process.wait()
                raise CaseFailed(f"still running after {timeout}s: {command}")
        finally:
            if stdin is not None and not process.stdin.closed:
                try:
                    process.stdin.close()
                except BrokenPipeError:
                    pass
            if reader:
                reader.join(timeout=10)
        return Result(b"".join(chunks), code, time.monotonic() - started)

    def install_recorder(self, name="rec", subdir=""):
        """Copies the recorder into the working directory; returns its path."""
        suffix = ".exe" if self.windows else ""
        path = self.path(subdir, name + suffix)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copy(self.target.recorder, path)
        return path

    def wait_record(self, recorder_path, count=1, timeout=RECORD_TIMEOUT):
        """The records of the first `count` starts of a recorder, as dicts with
        'args' (a list) or 'cmdline' (bytes), and 'cwd'."""
        record_path = recorder_path + ".record"
        deadline = time.monotonic() + timeout
        while True:
            data = b""
            if os.path.exists(record_path):
                with open(record_path, "rb") as record:
                    data = record.read()
            if data.count(b"end\n") >= count:
                break
            if time.monotonic() > deadline:
                raise CaseFailed(f"the recorder did not run within {timeout}s "
                                 f"(record so far: {data!r})")
            time.sleep(0.05)
        records = []
        current = {"args": []}
        for line in data.split(b"\n"):
            key, _, value = line.partition(b" ")
            if key == b"arg":
                current["args"].append(value)
            elif key in (b"cmdline", b"cwd"):
                current[key.decode()] = value
            elif key == b"end":
                records.append(current)
                current = {"args": []}
        return records


def pattern(expected):
    """A regex for expected output given as bytes and HEX8 pieces."""
    if isinstance(expected, bytes):
        expected = [expected]
    return re.compile(b"".join(rb"[0-9A-F]{8}" if piece is HEX8 else re.escape(piece)
                               for piece in expected), re.DOTALL)


def _lines(data):
    return [repr(line) for line in data.split(b"\n")]


def expect(result, stdout, code):
    """Fails the case unless stdout and the exit code are exactly as expected."""
    problems = []
    if result.code != code:
        problems.append(f"exit code {result.code}, expected {code}")
    if not pattern(stdout).fullmatch(result.stdout):
        shown = stdout if isinstance(stdout, bytes) else b"".join(
            b"XXXXXXXX" if piece is HEX8 else piece for piece in stdout)
        diff = "\n".join(difflib.unified_diff(_lines(shown), _lines(result.stdout),
                                               lineterm="", n=2))
        problems.append("stdout differs (- expected, + actual):\n" + diff)
    if problems:
        raise CaseFailed("\n".join(problems))


def check(condition, message):
    if not condition:
        raise CaseFailed(message)
