"""The black-box cases. Each states why it exists, what it feeds the program
and the exact bytes, exit code and launch it expects."""

import os
import subprocess
import time

from harness import HEX8, Skip, check, expect

ALL = []


class Case:
    def __init__(self, name, function, slow=False):
        self.name = name
        self.function = function
        self.slow = slow

    def run(self, ctx):
        self.function(ctx)


def case(name, slow=False):
    def register(function):
        ALL.append(Case(name, function, slow))
        return function
    return register


def table(name, rows):
    """Registers one case per row; a row is a label and the values handed to
    the function (one value as it is, several as a tuple)."""
    def register(function):
        for label, *values in rows:
            row = values[0] if len(values) == 1 else tuple(values)
            ALL.append(Case(f"{name}: {label}", lambda ctx, row=row: function(ctx, row)))
        return function
    return register


# The program's fixed texts, typed out here on their own.
CRLF = b"\r\n"
BANNER = (CRLF * 6
          + b"Tolvarin delayed launcher (c) 2026 the Tolvarin developers\r\n"
          + b"version 2 - extended functions...\r\n"
          + b"any program launched now with delay!\r\n"
          + CRLF + CRLF)
PROMPT = (CRLF * 3
          + b"      \xda\xc4\xc4\xc4\xc4\xc4\xbf\r\n"
          + b"Press \xb3Enter\xb3 to close this window...\r\n"
          + b"      \xc0\xc4\xc4\xc4\xc4\xc4\xd9\r\n"
          + CRLF)
HELP = (b"\x08" * 8
        + b"This version needed Tolvarin.ini with FOUR lines:\r\n"
        + b"1 - delay (positive integer value)\r\n"
        + b"2 - ProgName (ex., RunDLL32.exe - required anywhere)\r\n"
        + b"3 - ProgParams (ex., user,ExitWindows - optional)\r\n"
        + b"4 - ProgDirectory (ex., C:\\WINDOWS - optional)\r\n"
        + PROMPT)
READING = b"reading ini..."


def error_screen(message):
    return CRLF + b"ERROR:  " + message + CRLF * 3 + b" /? or ? to help.\r\n" + PROMPT


NOT_FOUND = BANNER + READING + error_screen(b"Tolvarin.ini not found!")


def report(ctx, message):
    """The last-resort report of an EConvertError, as a list for expect()."""
    return [BANNER + READING + b"Exception EConvertError in module " + ctx.module
            + b" at ", HEX8, b".\n" + message + CRLF]


def convert_error(ctx, line):
    return report(ctx, b"'" + line + b"' is not a valid integer value.")


def announcement(name, params, directory=b""):
    text = b"  ...done!\r\nLaunch " + name + b" " + params + CRLF
    if directory:
        text += b"in " + directory + CRLF + CRLF
    return text


def countdown(delay):
    return b"".join(b"%d second remain...\r\n" % n for n in range(delay, 0, -1))


EXECUTION = b"       ...execution!\r\n"


# --- Command line and screens -------------------------------------------

@case("no arguments and no settings file: banner first, then the error screen")
def _(ctx):
    expect(ctx.run(), NOT_FOUND, 0)


HELP_ARGS = [
    ("/?", ["/?"], True),
    ("?", ["?"], True),
    ("/? with more arguments after it", ["/?", "x"], True),
    ("/?x", ["/?x"], False),
    ("/h", ["/h"], False),
    ("-?", ["-?"], False),
    ("/??", ["/??"], False),
    ("?x", ["?x"], False),
    ("x then /?", ["x", "/?"], False),
]


@table("help switch as an argument", HELP_ARGS)
def _(ctx, row):
    args, helps = row
    # The help works where the settings file is missing; anything else runs.
    expect(ctx.run(args), BANNER + HELP if helps else NOT_FOUND, 0)


RAW_LINES = [
    ("quoted /?", b'tolvarin.exe "/?"', True),
    ("empty quotes before /?", b'tolvarin.exe "" /?', True),
    ("two empty quote pairs before ?", b'tolvarin.exe "" "" ?', True),
    ("quoted name with a blank, then /?", b'"C:\\Program Files\\tolvarin.exe" /?', True),
    ("tab as the separator", b"tolvarin.exe\t?", True),
    ("quoted name glued to /?", b'"tolvarin.exe"/?', False),
    ("quote inside the argument", b'tolvarin.exe /"?"x', False),
    ("/? after a first argument", b"tolvarin.exe x /?", False),
]


@table("help switch on the raw command line", RAW_LINES)
def _(ctx, row):
    if not ctx.windows:
        raise Skip("POSIX hands over argv already split")
    line, helps = row
    expect(ctx.run(raw=line), BANNER + HELP if helps else NOT_FOUND, 0)


@case("an empty argv entry before /? does not count")
def _(ctx):
    if ctx.windows:
        raise Skip("Windows has one raw command line; see the raw cases")
    expect(ctx.run(["", "/?"]), BANNER + HELP, 0)


ENTER_INPUTS = [
    ("CR", b"\r", True),
    ("CR LF after text", b"some text\r\n", True),
    ("Ctrl-Z", b"abc\x1a", True),
    ("LF", b"\n", False),
]


@table("Enter prompt returns with the pipe still open", ENTER_INPUTS)
def _(ctx, row):
    data, everywhere = row
    if not everywhere and ctx.windows:
        raise Skip("on Windows a bare LF does not end the line")
    if data == b"\r":
        # After a CR the prompt waits for one more byte (an LF or not).
        data += b"x"
    expect(ctx.run(["?"], stdin=data, keep_stdin_open=True, timeout=30), BANNER + HELP, 0)


@table("Enter prompt returns at the end of input", [("empty input", b""), ("text without a line end", b"abc")])
def _(ctx, data):
    expect(ctx.run(["?"], stdin=data), BANNER + HELP, 0)


@case("Enter prompt returns when standard input is closed")
def _(ctx):
    expect(ctx.run(["?"], stdin=None), BANNER + HELP, 0)


@case("standard output to a file gets the same bytes")
def _(ctx):
    with open(ctx.path("out.txt"), "wb") as out:
        result = ctx.run(["?"], stdout=out)
    with open(ctx.path("out.txt"), "rb") as written:
        result.stdout = written.read()
    expect(result, BANNER + HELP, 0)


# --- Settings file ---------------------------------------------------------

def recorder_name(ctx, path):
    """How the settings file names a recorder: relative to the working
    directory, as a user would."""
    relative = os.path.relpath(path, ctx.workdir)
    return (relative if ctx.windows else "./" + relative).encode()


def launch_ok(ctx, delay_line, extra_lines=b""):
    """Writes a settings file launching the recorder; returns what a clean
    run writes after the banner and the recorder's path."""
    rec = ctx.install_recorder()
    name = recorder_name(ctx, rec)
    ctx.write_ini(delay_line + CRLF + name + CRLF + extra_lines)
    return rec, name


ACCEPTED_DELAYS = [
    ("zero", b"0"),
    ("leading blanks", b"   0"),
    ("hex zero", b"$0"),
    ("minus zero", b"-0"),
    ("plus zero", b"+0"),
    ("leading zeros", b"0000000"),
    ("NUL ends what is converted", b"0\x00junk"),
]


@table("delay accepted", ACCEPTED_DELAYS)
def _(ctx, line):
    rec, name = launch_ok(ctx, line)
    expect(ctx.run(), BANNER + READING + announcement(name, b"") + EXECUTION, 0)
    check(len(ctx.wait_record(rec)) == 1, "launched once")


NEGATIVE_DELAYS = [
    ("minus one", b"-1"),
    ("lowest decimal", b"-2147483647"),
    ("hex all ones", b"$FFFFFFFF"),
    ("hex lowest", b"$80000000"),
    ("leading blank kept in the message", b" -5"),
]


@table("negative delay shows the error screen", NEGATIVE_DELAYS)
def _(ctx, line):
    ctx.write_ini(line + CRLF + b"never.exe" + CRLF)
    expect(ctx.run(), BANNER + READING + error_screen(line + b" is not positive value!"), 0)


BAD_DELAYS = [
    ("empty line", b""),
    ("trailing blank", b"0 "),
    ("leading tab", b"\t0"),
    ("decimal point", b"1.0"),
    ("just past the top", b"2147483648"),
    ("just past the bottom", b"-2147483648"),
    ("dollar alone", b"$"),
    ("sign alone", b"-"),
    ("sign before dollar", b"-$1"),
    ("nine significant hex digits", b"$123456789"),
    ("C hex prefix", b"0x10"),
    ("byte-order mark", b"\xef\xbb\xbf0"),
    ("printf directives shown as text", b"%s%n%x%p"),
]


@table("delay that is not an integer ends in the report", BAD_DELAYS)
def _(ctx, line):
    ctx.write_ini(line + CRLF + b"never.exe" + CRLF)
    expect(ctx.run(), convert_error(ctx, line), 1)


@case("a NUL in a bad delay line cuts the report's message")
def _(ctx):
    ctx.write_ini(b"x\x00y\r\n")
    expect(ctx.run(), report(ctx, b"'x."), 1)


@case("LF-only line ends make one line, quoted whole in the report")
def _(ctx):
    ctx.write_ini(b"0\nnever.exe\n\n")
    expect(ctx.run(), convert_error(ctx, b"0\nnever.exe\n\n"), 1)


@case("the report is cut to 1,024 characters")
def _(ctx):
    line = b"x" * 4065  # the longest line still quoted in the message
    ctx.write_ini(line)
    head = b"Exception EConvertError in module " + ctx.module + b" at XXXXXXXX.\n"
    body = (b"'" + line)[:1024 - len(head)]
    expect(ctx.run(), [BANNER + READING + head[:-10], HEX8, b".\n" + body + CRLF], 1)


@case("a delay line of 4,066 bytes or more gets the fixed message")
def _(ctx):
    ctx.write_ini(b"7" * 4065 + b"x" + CRLF)
    expect(ctx.run(), report(ctx, b"Format result longer than 4096 characters."), 1)


@case("a directory named Tolvarin.ini is not a settings file")
def _(ctx):
    os.mkdir(ctx.path("Tolvarin.ini"))
    expect(ctx.run(), NOT_FOUND, 0)


@case("the settings file is found in any letter case")
def _(ctx):
    rec = ctx.install_recorder()
    name = recorder_name(ctx, rec)
    ctx.write_ini(b"0\r\n" + name + b"\r\n", name="tOLVARIN.ini")
    expect(ctx.run(), BANNER + READING + announcement(name, b"") + EXECUTION, 0)


@case("the settings file is looked for in the working directory only")
def _(ctx):
    launch_ok(ctx, b"0")
    os.mkdir(ctx.path("elsewhere"))
    expect(ctx.run(cwd=ctx.path("elsewhere")), NOT_FOUND, 0)


@case("a settings file held open for writing cannot be opened")
def _(ctx):
    if not ctx.windows:
        raise Skip("POSIX has no share modes")
    path = ctx.write_ini(b"0\r\nnever.exe\r\n")
    expect(ctx.run(hold=ctx.host_path(path)), NOT_FOUND, 0)


LINE_LAYOUTS = [
    # label, settings text after the delay line, ProgParams, ProgDirectory
    ("CR only", b"\r{rec}\rp1 p2\r{dir}", b"p1 p2", True),
    ("CR LF", b"\r\n{rec}\r\np1\r\n{dir}\r\n", b"p1", True),
    ("CR CR LF gives an empty line", b"\r\n{rec}\r\r\n{dir}", b"", True),
    ("Ctrl-Z ends the text", b"\r\n{rec}\r\n\x1ap1\r\n{dir}\r\n", b"", False),
    ("lines after the fourth are ignored", b"\r\n{rec}\r\np1\r\n{dir}\r\nfifth\r\n", b"p1", True),
    ("blanks and tabs are kept", b"\r\n{rec}\r\n  a\tb  \r\n", b"  a\tb  ", False),
]


@table("line layout", LINE_LAYOUTS)
def _(ctx, row):
    layout, params, with_dir = row
    rec = ctx.install_recorder()
    name = recorder_name(ctx, rec)
    os.mkdir(ctx.path("work"))
    directory = ctx.host_path(ctx.path("work")).encode()
    ctx.write_ini(b"0" + layout.replace(b"{rec}", name).replace(b"{dir}", directory))
    expected_dir = directory if with_dir else b""
    expect(ctx.run(), BANNER + READING + announcement(name, params, expected_dir) + EXECUTION, 0)
    record = ctx.wait_record(rec)[0]
    check(record["cwd"] == (directory if with_dir else ctx.host_path(ctx.workdir).encode()),
          f"working directory {record['cwd']!r}")


# --- Countdown and launch --------------------------------------------------

def launched_params(ctx, record):
    """What the recorder got as parameters: its arguments on POSIX, the tail
    of its raw command line on Windows."""
    if ctx.windows:
        return record["cmdline"]
    return record["args"]


@case("launch with quoted parameters and a directory")
def _(ctx):
    rec = ctx.install_recorder(subdir="bin")
    name = recorder_name(ctx, rec)
    os.mkdir(ctx.path("work dir"))
    directory = ctx.host_path(ctx.path("work dir")).encode()
    params = b'"a b" c "" d\\e'
    ctx.write_ini(b"0\r\n" + name + CRLF + params + CRLF + directory + CRLF)
    expect(ctx.run(), BANNER + READING + announcement(name, params, directory) + EXECUTION, 0)
    record = ctx.wait_record(rec)[0]
    check(record["cwd"] == directory, f"working directory {record['cwd']!r}")
    if ctx.windows:
        check(record["cmdline"].endswith(b" " + params), f"command line {record['cmdline']!r}")
    else:
        check(record["args"] == [b"a b", b"c", b"d\\e"], f"arguments {record['args']!r}")


@table("countdown", [("one second", 1), ("two seconds", 2)])
def _(ctx, delay):
    rec, name = launch_ok(ctx, b"%d" % delay, b"x\r\n")
    result = ctx.run()
    expect(result, BANNER + READING + announcement(name, b"x") + countdown(delay) + EXECUTION, 0)
    ctx.wait_record(rec)


@case("a delay of 3 waits three seconds before the launch", slow=True)
def _(ctx):
    rec, name = launch_ok(ctx, b"3")
    result = ctx.run()
    expect(result, BANNER + READING + announcement(name, b"") + countdown(3) + EXECUTION, 0)
    check(result.elapsed >= 3.0, f"ran {result.elapsed:.2f}s")
    ctx.wait_record(rec)


def failed_launch(name, params, directory, reason):
    text = announcement(name, params, directory) + EXECUTION
    return BANNER + READING + text + error_screen(b"Launch failed: " + reason + b"!")


@case("a missing program ends on the error screen")
def _(ctx):
    name = b"no-such-program.exe" if ctx.windows else b"no-such-program"
    ctx.write_ini(b"0\r\n" + name + b"\r\n")
    expect(ctx.run(), failed_launch(name, b"", b"", b"file not found"), 0)


@case("a program name longer than any path ends on the error screen")
def _(ctx):
    name = b"n" * 1000
    ctx.write_ini(b"0\r\n" + name + b"\r\n")
    expect(ctx.run(), failed_launch(name, b"", b"", b"file not found"), 0)


@case("an empty program name ends on the error screen")
def _(ctx):
    ctx.write_ini(b"0\r\n")
    # Wine's shell calls an empty name not a valid program.
    reason = b"not a valid program" if ctx.windows else b"file not found"
    expect(ctx.run(), failed_launch(b"", b"", b"", reason), 0)


@case("a missing directory ends on the error screen")
def _(ctx):
    if ctx.windows:
        raise Skip("Wine's shell starts the program in the current directory instead")
    rec = ctx.install_recorder()
    name = recorder_name(ctx, rec)
    directory = ctx.path("missing").encode()
    ctx.write_ini(b"0\r\n" + name + b"\r\n\r\n" + directory + b"\r\n")
    expect(ctx.run(), failed_launch(name, b"", directory, b"path not found"), 0)


@case("a document with no opener ends on the error screen")
def _(ctx):
    ctx.write("notes.tolvarin-test", b"text\n")
    ctx.write_ini(b"0\r\nnotes.tolvarin-test\r\n")
    expect(ctx.run(env={"PATH": "/nonexistent"}),
           failed_launch(b"notes.tolvarin-test", b"", b"", b"no program is associated with this file"), 0)


def fake_opener(ctx):
    """An xdg-open stand-in first on PATH that records its arguments."""
    log = ctx.path("opener.log")
    ctx.write("bin/xdg-open", b'#!/bin/sh\nprintf "%s|%s\\n" "$PWD" "$*" >> ' + log.encode() + b"\n")
    os.chmod(ctx.path("bin/xdg-open"), 0o755)
    return {"PATH": ctx.path("bin") + ":" + os.environ.get("PATH", "")}, log


OPENED = [
    ("a document", b"notes.txt", "{work}/notes.txt"),
    ("a document by path", b"./notes.txt", "{work}/./notes.txt"),
    ("a web address", b"https://example.invalid/page", "https://example.invalid/page"),
    ("a mail address", b"mailto:someone@example.invalid", "mailto:someone@example.invalid"),
]


@table("handed to the desktop opener", OPENED)
def _(ctx, row):
    if ctx.windows:
        raise Skip("xdg-open is the POSIX launcher's")
    name, opened = row[0], row[1]
    env, log = fake_opener(ctx)
    ctx.write("notes.txt", b"text\n")
    ctx.write_ini(b"0\r\n" + name + b"\r\nignored\r\n")
    expect(ctx.run(env=env), BANNER + READING + announcement(name, b"ignored") + EXECUTION, 0)
    deadline = time.monotonic() + 20
    while not os.path.exists(log) and time.monotonic() < deadline:
        time.sleep(0.05)
    with open(log) as opened_log:
        check(opened_log.read() == f"{ctx.workdir}|{opened.format(work=ctx.workdir)}\n",
              "opener arguments")


@case("a program found on PATH is started directly")
def _(ctx):
    if ctx.windows:
        raise Skip("PATH search is the POSIX launcher's; Windows leaves it to the shell")
    rec = ctx.install_recorder(name="tolvarin-rec", subdir="bin")
    ctx.write_ini(b"0\r\ntolvarin-rec\r\none two\r\n")
    env = {"PATH": ctx.path("bin") + ":" + os.environ.get("PATH", "")}
    expect(ctx.run(env=env), BANNER + READING + announcement(b"tolvarin-rec", b"one two") + EXECUTION, 0)
    check(ctx.wait_record(rec)[0]["args"] == [b"one", b"two"], "arguments")


@case("the launched program is not waited for")
def _(ctx):
    if ctx.windows:
        raise Skip("needs a long-running program; the recorder ends at once")
    ctx.write_ini(b"0\r\n/bin/sleep\r\n30\r\n")
    with open(ctx.path("out.txt"), "wb") as out:  # the sleeper keeps a pipe open
        result = ctx.run(stdout=out, timeout=10)
    check(result.code == 0, f"exit code {result.code}")


@case("a NUL in the program name: shown whole, launched up to the NUL")
def _(ctx):
    rec = ctx.install_recorder()
    name = recorder_name(ctx, rec)
    ctx.write_ini(b"0\r\n" + name + b"\x00tail\r\nparams\x00more\r\n")
    expect(ctx.run(), BANNER + READING + announcement(name + b"\x00tail", b"params\x00more") + EXECUTION, 0)
    record = ctx.wait_record(rec)[0]
    expected = (b"params",) if not ctx.windows else None
    if expected:
        check(record["args"] == [b"params"], f"arguments {record['args']!r}")
    else:
        check(record["cmdline"].endswith(b" params"), f"command line {record['cmdline']!r}")


@case("on a terminal each countdown line shows as it is written")
def _(ctx):
    if ctx.windows:
        raise Skip("Wine gives a Windows program no console on a pseudo-terminal")
    import pty
    import select
    import subprocess
    rec, name = launch_ok(ctx, b"2")
    import tty
    master, slave = pty.openpty()
    tty.setraw(slave)  # no line-end translation by the terminal
    started = time.monotonic()
    process = subprocess.Popen([ctx.target.program], cwd=ctx.workdir, stdin=subprocess.DEVNULL,
                               stdout=slave, stderr=subprocess.DEVNULL)
    os.close(slave)
    seen = b""
    first_at = second_at = None
    deadline = started + 30
    while time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], 0.1)
        if ready:
            try:
                chunk = os.read(master, 4096)
            except OSError:
                break
            if not chunk:
                break
            seen += chunk
            now = time.monotonic()
            if first_at is None and b"2 second remain...\r\n" in seen:
                first_at = now
            if second_at is None and b"1 second remain...\r\n" in seen:
                second_at = now
        elif process.poll() is not None:
            break
    process.wait(timeout=10)
    os.close(master)
    check(first_at is not None and second_at is not None, f"countdown lines seen: {seen!r}")
    # The line for 2 must arrive on its own, during its second and a second
    # before the line for 1, not when the buffer fills or the run ends.
    check(first_at - started < 2.0, f"first line after {first_at - started:.2f}s")
    check(second_at - first_at >= 0.5, f"lines {second_at - first_at:.2f}s apart")
    ctx.wait_record(rec)


# --- Hostile surroundings --------------------------------------------------

@table("standard output unusable: the run goes on and still launches", [
    ("closed", "closed"),
    ("a full device", "full"),
])
def _(ctx, kind):
    rec, _ = launch_ok(ctx, b"0")
    if kind == "closed":
        result = ctx.run(close_fds=(1,), stdout=subprocess.DEVNULL)
    else:
        with open("/dev/full", "wb") as full:
            result = ctx.run(stdout=full)
    check(result.code == 0, f"exit code {result.code}")
    ctx.wait_record(rec)


@case("a reader that goes away mid-output: exit code 0 and the launch happens")
def _(ctx):
    rec, name = launch_ok(ctx, b"2", b"p" * 20000 + CRLF)

    def read_a_little(process):
        data = process.stdout.read(64)
        process.stdout.close()
        return data

    result = ctx.run(on_started=read_a_little)
    check(result.code == 0, f"exit code {result.code}")
    check(result.stdout == BANNER[:64], f"first bytes {result.stdout!r}")
    ctx.wait_record(rec)


@table("standard input gone at the Enter prompt", [("closed", "closed"), ("at its end", "end")])
def _(ctx, kind):
    if kind == "closed":
        result = ctx.run(["?"], stdin=None, close_fds=(0,))
    else:
        result = ctx.run(["?"], stdin=b"")
    expect(result, BANNER + HELP, 0)


@case("a FIFO named Tolvarin.ini with no writer is not waited on")
def _(ctx):
    if ctx.windows:
        raise Skip("a FIFO in the file system is a POSIX thing")
    os.mkfifo(ctx.path("Tolvarin.ini"))
    expect(ctx.run(timeout=20), NOT_FOUND, 0)


@case("a dangling link named Tolvarin.ini is not found")
def _(ctx):
    os.symlink(ctx.path("nowhere.ini"), ctx.path("Tolvarin.ini"))
    expect(ctx.run(), NOT_FOUND, 0)


@case("binary junk as the settings file ends in the report")
def _(ctx):
    import random
    generator = random.Random(7)
    junk = bytes(generator.choice([b for b in range(256) if b not in (0x0D, 0x1A, 0x00)])
                 for _ in range(3000))
    ctx.write_ini(junk)
    head = b"Exception EConvertError in module " + ctx.module + b" at XXXXXXXX.\n"
    body = (b"'" + junk)[:1024 - len(head)]
    expect(ctx.run(), [BANNER + READING + head[:-10], HEX8, b".\n" + body + CRLF], 1)


@case("a 256 MiB delay line ends in the report, not out of memory")
def _(ctx):
    with open(ctx.path("Tolvarin.ini"), "wb") as ini:
        block = b"1234567890" * 104857 + b"123456"
        for _ in range(256):
            ini.write(block)
        ini.write(b"x\n")
    expect(ctx.run(timeout=120), report(ctx, b"Format result longer than 4096 characters."), 1)


@case("64 MiB lines 2 to 4 are shown whole")
def _(ctx):
    size = 64 << 20
    name, params, directory = b"n" * size, b"p" * size, b"d" * size
    ctx.write_ini(b"0\r\n" + name + CRLF + params + CRLF + directory + CRLF)
    result = ctx.run(timeout=180)
    start = BANNER + READING + announcement(name, params, directory) + EXECUTION
    check(result.stdout.startswith(start), "announcement not shown whole")
    check(result.code == 0, f"exit code {result.code}")
    check(result.stdout[len(start):].startswith(CRLF + b"ERROR:  Launch failed: "),
          f"after the announcement: {result.stdout[len(start):len(start) + 80]!r}")


@case("printf directives in the settings are shown as they are")
def _(ctx):
    rec, name = launch_ok(ctx, b"0", b"%s %n %x %p%%\r\n")
    expect(ctx.run(), BANNER + READING + announcement(name, b"%s %n %x %p%%") + EXECUTION, 0)
    ctx.wait_record(rec)
