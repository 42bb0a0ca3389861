#!/usr/bin/env python3
"""Checks Windows programs and DLLs as the build ships them.

usage: pe_check.py [--version X.Y.Z.W [--manifest]] FILE...

Every FILE must be a 64-bit PE file that Windows loads at a random address, high in the
address space too, with data that is never run (the DYNAMIC_BASE, HIGH_ENTROPY_VA and
NX_COMPAT flags). With --version, each FILE's version information must give that version
as its file and product version; with --manifest too, so must its embedded manifest (our
programs'; an installer's is NSIS's own). Prints one line a file; exits 1 when any file
falls short.
"""

import argparse
import re
import struct
import sys

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT = 0x0040, 0x0020, 0x0100
FLAGS = {"DYNAMIC_BASE": DYNAMIC_BASE, "HIGH_ENTROPY_VA": HIGH_ENTROPY_VA,
         "NX_COMPAT": NX_COMPAT}
# VS_FIXEDFILEINFO begins with this signature.
FIXED_FILE_INFO = struct.pack("<I", 0xFEEF04BD)


def dotted(high, low):
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


def problems(data, version, manifest):
    if data[:2] != b"MZ":
        return ["not a PE file"]
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return ["not a PE file"]
    optional = pe + 4 + 20
    if struct.unpack_from("<H", data, optional)[0] != 0x20B:
        return ["not a 64-bit program"]
    characteristics = struct.unpack_from("<H", data, optional + 70)[0]
    found = [name + " missing" for name, bit in FLAGS.items() if not characteristics & bit]
    if version:
        at = data.find(FIXED_FILE_INFO)
        if at < 0:
            found.append("no version information")
        else:
            file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, at + 8)
            for what, got in (("file", dotted(file_ms, file_ls)),
                              ("product", dotted(product_ms, product_ls))):
                if got != version:
                    found.append("%s version %s" % (what, got))
    if version and manifest:
        identity = re.search(rb'<assemblyIdentity[^>]*\sversion="([^"]*)"', data)
        got = identity.group(1).decode(errors="replace") if identity else "missing"
        if got != version:
            found.append("manifest version %s" % got)
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version")
    parser.add_argument("--manifest", action="store_true")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    failed = False
    for name in args.files:
        with open(name, "rb") as f:
            found = problems(f.read(), args.version, args.manifest)
        failed = failed or bool(found)
        print("%s: %s" % (name, "; ".join(found) if found else "ok"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
