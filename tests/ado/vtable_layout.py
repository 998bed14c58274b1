#!/usr/bin/env python3
"""Checks that platform/ado's interfaces keep ADO's vtable order.

Compares, interface by interface, the order of the virtual methods in our
AdoInterfaces.h with the ADO 2.x compatibility declarations that MinGW-w64 ships
(adoint_backcompat.h): a pointer obtained under one of ADO's IIDs must work
whichever ADO implementation answers. Usage: vtable_layout.py OURS.h MINGW.h
"""
import re
import sys

# our interface name -> MinGW's name for the same IID
PAIRS = {
    "_ADO": "_ADO", "Connection15": "Connection15", "_Connection": "_ADOConnection",
    "Recordset15": "Recordset15", "Recordset20": "Recordset20", "Recordset21": "Recordset21",
    "_Recordset": "_ADORecordset", "_Collection": "_ADOCollection", "Fields15": "Fields15",
    "Fields20": "Fields20", "Fields": "ADOFields", "Field20": "Field20", "Field": "ADOField",
}


def interfaces(text, with_uuid):
    """name -> (iid or None, base, [method names in vtable order])"""
    found = {}
    head = (r'MIDL_INTERFACE\s*\("([0-9A-Fa-f-]+)"\)\s*(\w+)\s*:\s*public\s+(\w+)\s*\{'
            if with_uuid else r'struct\s+(\w+)\s*:\s*(\w+)\s*\{')
    for m in re.finditer(head, text):
        body = text[m.end():text.index("};", m.end())]
        methods = re.findall(r'virtual\s+HRESULT\s+(?:STDMETHODCALLTYPE|__stdcall)\s+(\w+)\s*\(', body)
        methods = [re.sub(r'^raw_', '', n) for n in methods]
        if with_uuid:
            found[m.group(2)] = (m.group(1).upper(), m.group(3), methods)
        else:
            found[m.group(1)] = (None, m.group(2), methods)
    return found


def main():
    ours = interfaces(open(sys.argv[1]).read(), with_uuid=False)
    theirs = interfaces(open(sys.argv[2], errors="replace").read(), with_uuid=True)
    uuids = dict(re.findall(r'ADO_UUID_DECL\((\w+),\s*0x([0-9A-Fa-f]{8})\)', open(sys.argv[1]).read()))
    failures = []
    for mine, ref in PAIRS.items():
        if mine not in ours or ref not in theirs:
            failures.append(f"{mine}/{ref}: not found")
            continue
        _, base, methods = ours[mine]
        iid, ref_base, ref_methods = theirs[ref]
        if methods != ref_methods:
            failures.append(f"{mine}: methods {methods} differ from {ref_methods}")
        if PAIRS.get(base, base) != ref_base:
            failures.append(f"{mine}: base {base} is not {ref_base}")
        if uuids.get(mine, "").upper() != iid.split("-")[0]:
            failures.append(f"{mine}: IID {uuids.get(mine)} is not {iid}")
    for f in failures:
        print(f)
    print(f"{len(PAIRS) - len(failures)} of {len(PAIRS)} interfaces match" if not failures else "FAILED")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
