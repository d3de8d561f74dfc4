#!/usr/bin/env python3
"""Black-box suite: runs the built program in fresh temporary directories and
checks its exact standard output, its exit code and what it launched.

The same cases run the native program and, through Wine, a Windows build.
Prints one line per failed or skipped case and ends with
"N passed, N failed, N skipped"; exits 1 when a case failed.
"""

import argparse
import os
import shutil
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cases  # noqa: E402
from harness import Skip  # noqa: E402
import harness  # noqa: E402


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--cmdrun", help="Windows builds: raw command line helper")
    parser.add_argument("--wine", default="", help="Windows builds: Wine loader")
    parser.add_argument("--wineprefix", help="Windows builds: Wine prefix to use")
    parser.add_argument("--filter", default="", help="run only cases whose name holds this")
    parser.add_argument("--skip-slow", action="store_true")
    return parser.parse_args()


def main():
    args = parse_args()
    windows = args.program.lower().endswith(".exe")
    if windows and not args.wine:
        print("SKIP: no Wine loader for this build")
        return 125
    if windows and not os.path.exists(args.wine):
        print(f"SKIP: Wine loader {args.wine} is not installed")
        return 125

    target = harness.Target(
        program=os.path.abspath(args.program),
        recorder=os.path.abspath(args.recorder),
        cmdrun=os.path.abspath(args.cmdrun) if args.cmdrun else None,
        wine=args.wine or None,
        wineprefix=os.path.abspath(args.wineprefix) if args.wineprefix else None,
    )
    print(f"black-box suite on {target.describe()}")
    target.start()
    passed = failed = skipped = 0
    try:
        for case in cases.ALL:
            if args.filter and args.filter not in case.name:
                continue
            if args.skip_slow and case.slow:
                continue
            workdir = tempfile.mkdtemp(prefix="tolvarin-")
            started = time.monotonic()
            try:
                case.run(harness.Context(target, workdir))
            except Skip as why:
                skipped += 1
                print(f"SKIP {case.name}: {why}")
            except harness.CaseFailed as failure:
                failed += 1
                print(f"FAIL {case.name}\n{failure}")
            except Exception:  # a broken case is a failed one
                failed += 1
                print(f"FAIL {case.name}\n{traceback.format_exc()}")
            else:
                passed += 1
                elapsed = time.monotonic() - started
                print(f"ok   {case.name} ({elapsed:.1f}s)")
            finally:
                shutil.rmtree(workdir, ignore_errors=True)
    finally:
        target.stop()
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
