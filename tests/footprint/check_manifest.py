#!/usr/bin/env python3
"""Checks the manifest that a Windows executable carries as resource 1 of type 24, read back
with wrestool (icoutils): common controls 6, Windows 10/11, the user's own rights and
per-monitor DPI awareness, with no GDI scaling.

    check_manifest.py <program.exe>

Exit 0 when all hold, 1 with the reasons otherwise.
"""

import subprocess
import sys
import xml.etree.ElementTree as ElementTree

ASM1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SMI2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SMI2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"

# Element below <assembly>, and what it must hold: attributes, or its text under "text".
# A namespace that Windows does not expect makes it ignore the element, so paths carry them.
REQUIRED = [
    (f"{ASM1}dependency/{ASM1}dependentAssembly/{ASM1}assemblyIdentity",
     {"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
      "processorArchitecture": "*", "publicKeyToken": "6595b64144ccf1df", "language": "*"}),
    (f"{COMPAT}compatibility/{COMPAT}application/{COMPAT}supportedOS",
     {"Id": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}),
    (f"{ASM3}trustInfo/{ASM3}security/{ASM3}requestedPrivileges/{ASM3}requestedExecutionLevel",
     {"level": "asInvoker", "uiAccess": "false"}),
    (f"{ASM3}application/{ASM3}windowsSettings/{SMI2005}dpiAware", {"text": "true/pm"}),
    (f"{ASM3}application/{ASM3}windowsSettings/{SMI2016}dpiAwareness",
     {"text": "PerMonitorV2, PerMonitor"}),
]


def problems(root):
    if root.tag != f"{ASM1}assembly" or root.get("manifestVersion") != "1.0":
        yield f"root element {root.tag} {root.attrib}"
    identity = root.find(f"{ASM1}assemblyIdentity")
    if identity is None or not all(identity.get(a) for a in ("type", "name", "version")):
        yield "no assemblyIdentity with type, name and version"
    for path, expected in REQUIRED:
        found = [{k: (e.text or "").strip() if k == "text" else e.get(k) for k in expected}
                 for e in root.findall(path)]
        if expected not in found:
            yield f"{path}: {found or 'missing'}, expected {expected}"
    # GDI scaling would stretch the program's own drawing a second time.
    if any(element.tag.rpartition("}")[2] == "gdiScaling" for element in root.iter()):
        yield "declares gdiScaling"


def main(program):
    manifest = subprocess.run(["wrestool", "-x", "--raw", "--type=24", "--name=1", program],
                              capture_output=True, check=False).stdout
    found = list(problems(ElementTree.fromstring(manifest))) if manifest else ["no manifest"]
    for problem in found:
        print(f"FAIL: {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
