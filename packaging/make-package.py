#!/usr/bin/env python3
"""Makes the Windows Installer package (and, with --zip, the portable zip) of
one Windows build:

    make-package.py BUILD_DIR OUT_DIR [--version V] [--zip]

BUILD_DIR/package/contents.env, written by CMake, names the version, the
architecture, the build's bin/ folder and the files in it that ship: Tuho.exe,
TuhoKick.exe, help.html and the help's pictures under images/, laid out in bin/
as they are installed. The pictures' components are made here, so a new
picture needs no change to Tunehoard.wxs.
--version overrides the build's version (the tests make a "newer" package).
Prints the paths of what it made."""
import argparse
import hashlib
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path
from xml.sax.saxutils import quoteattr

HERE = Path(__file__).resolve().parent
ICON = HERE.parent / "resources" / "art" / "tuho.ico"


def fail(message):
    sys.exit(f"make-package: {message}")


def read_contents(build_dir):
    path = build_dir / "package" / "contents.env"
    if not path.is_file():
        fail(f"{path} is missing: configure {build_dir} as a Windows build first")
    contents = dict(line.split("=", 1) for line in path.read_text().splitlines() if "=" in line)
    for key in ("version", "arch", "bin", "files"):
        if not contents.get(key):
            fail(f"{path} does not name {key}")
    contents["files"] = [name for name in contents["files"].split("|") if name]
    if "Tuho.exe" not in contents["files"]:
        fail(f"{path} does not list Tuho.exe")
    return contents


def stage(contents, folder):
    """Copies what ships from the build's bin/ into folder, laid out as it is
    installed; returns the picture paths relative to folder."""
    bin_dir = Path(contents["bin"])
    for name in contents["files"]:
        source = bin_dir / name
        if not source.is_file():
            fail(f"{source} is missing (build the programs first)")
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, folder / name)
    return sorted(Path(name) for name in contents["files"] if name.startswith("images/"))


def wix_id(prefix, relative):
    # Identifiers derived from the path stay the same from build to build.
    return f"{prefix}_{hashlib.sha1(str(relative).encode()).hexdigest()[:16]}"


def images_fragment(images):
    """The WiX fragment with one component per picture, in folders under
    INSTALLDIR as they lie under help/."""
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">', "  <Fragment>"]
    components = []

    folders = {folder for image in images for folder in image.parents if folder != Path(".")}

    def directory(relative_dir, depth):
        indent = "  " * depth
        for sub in sorted(folder for folder in folders if folder.parent == relative_dir):
            lines.append(f"{indent}<Directory Id={quoteattr(wix_id('dir', sub))} Name={quoteattr(sub.name)}>")
            directory(sub, depth + 1)
            lines.append(f"{indent}</Directory>")
        for image in (p for p in images if p.parent == relative_dir):
            component = wix_id("img", image)
            components.append(component)
            lines.append(f'{indent}<Component Id="{component}" Guid="*" Win64="$(var.Win64)">'
                         f'<File Id="{component}" Name={quoteattr(image.name)} '
                         f'Source={quoteattr(image.as_posix())} KeyPath="yes"/></Component>')

    lines.append('    <DirectoryRef Id="INSTALLDIR">')
    directory(Path("."), 3)
    lines.append("    </DirectoryRef>")
    lines.append('    <ComponentGroup Id="HelpImages">')
    lines += [f'      <ComponentRef Id="{c}"/>' for c in components]
    lines += ["    </ComponentGroup>", "  </Fragment>", "</Wix>", ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build_dir", type=Path)
    parser.add_argument("out_dir", type=Path)
    parser.add_argument("--version")
    parser.add_argument("--zip", action="store_true", help="also make the portable zip")
    args = parser.parse_args()

    wixl = shutil.which("wixl")
    if not wixl:
        fail("wixl is not installed (scripts/setup.sh installs it)")
    contents = read_contents(args.build_dir.resolve())
    version, arch = args.version or contents["version"], contents["arch"]
    out_dir = args.out_dir.resolve()
    out_dir.mkdir(parents=True, exist_ok=True)
    name = f"Tunehoard-{version}-{arch}"
    if "TuhoKick.exe" not in contents["files"]:
        print(f"make-package: warning: this build ships no TuhoKick.exe; {name} lacks it",
              file=sys.stderr)

    with tempfile.TemporaryDirectory(prefix="tunehoard-package-") as temp:
        files = Path(temp) / "Tunehoard"
        files.mkdir()
        images = stage(contents, files)
        fragment = Path(temp) / "images.wxs"
        fragment.write_text(images_fragment(images))
        shutil.copy2(ICON, Path(temp) / "tuho.ico")
        defines = {"Version": version, "Arch": arch, "Win64": "yes" if arch == "x64" else "no", "TuhoExe": "Tuho.exe",
                   "TuhoKickExe": "TuhoKick.exe" if (files / "TuhoKick.exe").exists() else "",
                   "HelpPage": "help.html", "Icon": "../tuho.ico"}
        define_args = [arg for key, value in defines.items() for arg in ("-D", f"{key}={value}")]
        # wixl looks source files up relative to its working folder.
        msi = out_dir / f"{name}.msi"
        done = subprocess.run([wixl, "-a", arch, *define_args, "-o", str(msi),
                               str(HERE / "Tunehoard.wxs"), str(fragment)],
                              cwd=files, capture_output=True, text=True)
        if done.returncode != 0:
            fail(f"wixl failed:\n{done.stdout}{done.stderr}")
        print(msi)
        if args.zip:
            archive = out_dir / f"{name}.zip"
            with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
                for path in sorted(files.rglob("*")):
                    z.write(path, path.relative_to(files.parent).as_posix())
            print(archive)


if __name__ == "__main__":
    main()
