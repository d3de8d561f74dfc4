#!/usr/bin/env python3
"""Check the PE headers, imports and resources of a built tolvarin.exe.

Usage: check_resources.py [--machine i386|amd64] PATH/tolvarin.exe

Prints one "ok: ..." or "FAIL: ..." line per check and exits 0 only if all
pass. Exits 125 (CTest SKIP_RETURN_CODE) when pefile is not importable.
"""

import argparse
import struct
import sys

MACHINES = {'i386': 0x14c, 'amd64': 0x8664}
SUBSYSTEM_CONSOLE = 3
EXPECTED_VERSION = (2, 0, 1, 9)
STRING_BLOCK = '041904E3'
TRANSLATION = (0x0419, 1251)
ICON_SIZES = [16, 32, 48]

# DLLs present on every supported Windows; anything else (libstdc++-6.dll,
# libgcc_s_*.dll, libwinpthread-1.dll) means the exe will not start alone.
SYSTEM_DLLS = {'kernel32.dll', 'user32.dll', 'shell32.dll', 'msvcrt.dll',
               'advapi32.dll', 'ole32.dll', 'shlwapi.dll', 'ucrtbase.dll'}
RT_ICON = 3
RT_GROUP_ICON = 14


class Checker:
    def __init__(self):
        self.failed = False

    def report(self, passed, what):
        print(('ok: ' if passed else 'FAIL: ') + what)
        if not passed:
            self.failed = True


def system_dll(name):
    name = name.lower()
    return name in SYSTEM_DLLS or name.startswith('api-ms-win-')


def imported_dlls(pe):
    dlls = []
    for attr in ('DIRECTORY_ENTRY_IMPORT', 'DIRECTORY_ENTRY_DELAY_IMPORT'):
        for entry in getattr(pe, attr, []):
            dlls.append(entry.dll.decode('ascii', 'replace'))
    return dlls


def resource_items(pe, type_id):
    """Map of resource id -> raw bytes (first language) for one type."""
    items = {}
    root = getattr(pe, 'DIRECTORY_ENTRY_RESOURCE', None)
    if root is None:
        return items
    for rtype in root.entries:
        if rtype.id != type_id:
            continue
        for res in rtype.directory.entries:
            langs = res.directory.entries
            if res.id is None or not langs:
                continue
            data = langs[0].data.struct
            items[res.id] = pe.get_data(data.OffsetToData, data.Size)
    return items


def icon_image_width(blob):
    """Width stored inside an RT_ICON image (PNG or DIB)."""
    if blob[:8] == b'\x89PNG\r\n\x1a\n':
        return struct.unpack_from('>I', blob, 16)[0]
    return struct.unpack_from('<i', blob, 4)[0]


def check_icons(pe, chk):
    groups = resource_items(pe, RT_GROUP_ICON)
    if not groups:
        chk.report(False, 'icon group present')
        return
    # Explorer shows the group with the lowest id.
    gid = min(groups)
    blob = groups[gid]
    _, rtype, count = struct.unpack_from('<HHH', blob, 0)
    entries = []
    for k in range(count):
        w, h, _, _, _, _, _, icon_id = struct.unpack_from('<BBBBHHIH', blob,
                                                          6 + 14 * k)
        entries.append((w or 256, h or 256, icon_id))
    sizes = sorted(w for w, _, _ in entries)
    chk.report(rtype == 1 and sizes == ICON_SIZES
               and all(w == h for w, h, _ in entries),
               'icon group %d has images %s (want %s)' % (gid, sizes,
                                                          ICON_SIZES))
    # The group only points at RT_ICON entries; make sure they exist and match.
    icons = resource_items(pe, RT_ICON)
    bad = []
    for w, _, icon_id in entries:
        img = icons.get(icon_id)
        if img is None or len(img) < 24 or icon_image_width(img) != w:
            bad.append(icon_id)
    chk.report(not bad, 'icon images referenced by group exist and match'
               + ('' if not bad else ' (bad ids %s)' % bad))


def version_tuple(ms, ls):
    return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def check_version(pe, chk):
    fixed = getattr(pe, 'VS_FIXEDFILEINFO', None)
    if not fixed:
        chk.report(False, 'version record present')
        return
    ffi = fixed[0]
    want = '.'.join(map(str, EXPECTED_VERSION))
    fv = version_tuple(ffi.FileVersionMS, ffi.FileVersionLS)
    pv = version_tuple(ffi.ProductVersionMS, ffi.ProductVersionLS)
    chk.report(fv == EXPECTED_VERSION,
               'fixed file version %s (want %s)' % ('.'.join(map(str, fv)),
                                                    want))
    chk.report(pv == EXPECTED_VERSION,
               'fixed product version %s (want %s)'
               % ('.'.join(map(str, pv)), want))

    tables = {}
    translations = []
    for fileinfo in getattr(pe, 'FileInfo', []):
        for entry in fileinfo:
            for table in getattr(entry, 'StringTable', []):
                tables[table.LangID.decode('ascii', 'replace').upper()] = \
                    table.entries
            for var in getattr(entry, 'Var', []):
                value = var.entry.get(b'Translation')
                if value:
                    words = [int(w, 16) for w in value.split()]
                    translations += list(zip(words[::2], words[1::2]))
    table = tables.get(STRING_BLOCK)
    chk.report(table is not None, 'StringFileInfo block %s (found %s)'
               % (STRING_BLOCK, sorted(tables) or 'none'))
    if table is not None:
        # Explorer's details tab shows these strings, not the fixed numbers.
        strings = (table.get(b'FileVersion'), table.get(b'ProductVersion'))
        chk.report(strings == (want.encode(),) * 2,
                   'FileVersion/ProductVersion strings %s (want %s)'
                   % ([s.decode('utf-8', 'replace') if s else None
                       for s in strings], want))
    chk.report(TRANSLATION in translations,
               'Translation 0x%04x/%d (found %s)'
               % (TRANSLATION + (['0x%04x/%d' % t for t in translations]
                                 or 'none',)))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--machine', choices=sorted(MACHINES))
    ap.add_argument('exe')
    args = ap.parse_args()

    try:
        import pefile
    except ImportError:
        print('SKIP: python module pefile is not available')
        return 125

    chk = Checker()
    try:
        pe = pefile.PE(args.exe, fast_load=True)
        pe.parse_data_directories(directories=[
            pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_IMPORT'],
            pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT'],
            pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_RESOURCE'],
        ])
    except (OSError, pefile.PEFormatError) as exc:
        chk.report(False, 'readable PE file %s: %s' % (args.exe, exc))
        return 1

    subsystem = pe.OPTIONAL_HEADER.Subsystem
    chk.report(subsystem == SUBSYSTEM_CONSOLE,
               'console subsystem (found %d)' % subsystem)

    machine = pe.FILE_HEADER.Machine
    want = [MACHINES[args.machine]] if args.machine else MACHINES.values()
    chk.report(machine in want, 'machine 0x%x (want %s)'
               % (machine, ' or '.join('0x%x' % m for m in want)))

    dlls = imported_dlls(pe)
    foreign = [d for d in dlls if not system_dll(d)]
    chk.report(dlls and not foreign,
               'imports only system DLLs' + (' (%s)' % ', '.join(dlls)
                                             if not foreign else
                                             ': not allowed %s'
                                             % ', '.join(foreign)))

    check_icons(pe, chk)
    check_version(pe, chk)
    return 1 if chk.failed else 0


if __name__ == '__main__':
    sys.exit(main())
