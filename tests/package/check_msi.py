#!/usr/bin/python3 -B
# The Windows Installer packages: both by their tables, then the x64 one installed, started,
# upgraded, refused as a downgrade and uninstalled by Wine's msiexec in a fresh prefix.
#     check_msi.py PACKAGE_FOLDER (as tools/package left it)
import glob, os, re, shutil, subprocess, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import test_karvold  # noqa: E402 (from the source tree, hence -B)
from karvold_harness import INSTALL_KEY, Session  # noqa: E402

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
# Rows of both packages: per machine, the Apps entry's icon, buttons and size, a shortcut to the
# program itself (not an advertised one), the folder under the architecture's Program Files,
# the components' 64-bit attribute, the platform and the language.
ROWS = [("Property", r"^ALLUSERS\t1\nARPPRODUCTICON\tkarvold\.ico\nARPNOMODIFY\t1\n"
                     r"ARPNOREPAIR\t1\nARPSIZE\t[1-9]\d*\nManufacturer\tOrvex Co\., Ltd\.$"),
        ("Shortcut", r"\tProgramMenuFolder\tKarvold\|Karvold 電卓\tProgram\t\[#karvold\.exe\]\t"),
        ("Directory", r"^INSTALLDIR\t{program_files}\tKarvold$"),
        ("Component", r"(\tINSTALLDIR\t{bits}\t.*\n.*){{2}}"),
        ("_SummaryInformation", r"^7\t{platform};1041$")]
# What an installation adds to drive C: the folder, the shortcut (Wine puts it in the user's
# Start menu) and Windows Installer's copies of the package and the icon.
INSTALLED = (r"Program Files/Karvold/Karvold\.chm\nProgram Files/Karvold/karvold\.exe\n"
             r"users/\w+/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Karvold 電卓\.lnk\n"
             r"windows/Installer/\w+\.msi\nwindows/Installer/\{[-0-9A-F]+\}/karvold\.ico")


def wine(*command):
    # Wine gives the exit code's low byte, and text in code page 932.
    result = subprocess.run([session.wine, *command], env=session.env, capture_output=True)
    return result.returncode, result.stdout.decode("cp932", "replace")


def entries():
    # The versions of Karvold's entries in Apps.
    return re.findall(r"DisplayName +REG_SZ +Karvold 電卓\r\n(?: {4}.*\r\n)*? {4}DisplayVersion"
                      r" +REG_SZ +(.*)\r", wine("reg", "query", UNINSTALL, "/s")[1])


def files():
    drive = os.path.join(session.prefix, "drive_c")
    return {os.path.relpath(os.path.join(d, f), drive) for d, _, fs in os.walk(drive) for f in fs}


folder = os.path.abspath(sys.argv[1])
msis = {arch: glob.glob(f"{folder}/karvold-*-{arch}.msi")[0] for arch in ("x64", "x86")}
for arch, platform, program_files, bits in (("x64", "x64", "ProgramFiles64Folder", 256),
                                             ("x86", "Intel", "ProgramFilesFolder", 0)):
    for name, row in ROWS:
        table = subprocess.run(["msiinfo", "export", msis[arch], name], capture_output=True,
                               text=True).stdout
        assert re.search(row.format(**locals()), table, re.M), (arch, name)

version = re.search(r"karvold-(.*)-x64\.msi$", msis["x64"])[1]
major, minor, build, revision = map(int, version.split("."))
work, program = os.path.join(folder, "msi-check"), os.path.join(folder, "build-win64", "shell")
shutil.rmtree(work, ignore_errors=True)

session = test_karvold.session = Session("karvold.exe", work)
session.exe = r"C:\Program Files\Karvold\karvold.exe"
try:
    # The business application's key, to be left alone as every file already on drive C.
    session.register_installation(r"C:\faltrane", ["InstalledDataDir"])
    before = files()
    assert wine("msiexec", "/i", msis["x64"], "/qn")[0] == 0, "install"
    assert re.fullmatch(INSTALLED, added := "\n".join(sorted(files() - before))), added
    assert entries() == [version], entries()
    test_karvold.start_and_choose_from_menu(1)
    assert test_karvold.help_window("Karvold 電卓 ヘルプ"), "help beside the program"
    session.stop()

    # Windows Installer compares three fields: a new fourth one replaces the package as a new
    # third one does, and only a newer third one refuses the older package.
    for new_version in f"{major}.{minor}.{build}.{revision + 1}", f"{major}.{minor}.{build + 1}.0":
        subprocess.run([os.path.join(os.path.dirname(__file__), "../../tools/make-msi"), "x64",
                        new_version, f"{program}/karvold.exe", f"{program}/Karvold.chm",
                        newer := f"{work}/{new_version}.msi"], check=True)
        assert wine("msiexec", "/i", newer, "/qn")[0] == 0, f"upgrade to {new_version}"
        assert entries() == [new_version], f"after the upgrade to {new_version}: {entries()}"
    assert wine("msiexec", "/i", msis["x64"], "/qn")[0] == 1603 & 0xFF, "downgrade refused"
    assert wine("msiexec", "/x", newer, "/qn")[0] == 0 and not entries(), "uninstall"
    assert files() == before, f"left after uninstalling: {files() ^ before}"
    assert "C:\\faltrane" in wine("reg", "query", INSTALL_KEY)[1], "business key"
finally:
    session.close()
