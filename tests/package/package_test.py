#!/usr/bin/env python3
"""The Debian package, built by CPack from a build tree and unpacked with
`dpkg-deb -x` into a scratch root: its name and control fields, its
dependencies against the libraries the programs need, its file list, the
menu entry, the manual pages against `longhand-calc --help`, and the
programs run from the unpacked tree.

Usage: package_test.py --build DIR --source DIR --version V [--cpack CPACK] [--gui]

Exits 77 (skipped) when dpkg-deb or dpkg-shlibdeps is missing.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

SKIPPED = 77

# How long the unpacked window may take to seed the user's folder.
WINDOW_START_SECONDS = 60

ARGS = None

APPSTREAM_ID = "org.longhand.Longhand"


def run(cmd, **kwargs):
    return subprocess.run(cmd, capture_output=True, text=True, **kwargs)


def expected_files(gui):
    """Every file the package may hold, with the source file it is a copy
    of (None for what the build makes)."""
    files = {
        "usr/bin/longhand-calc": None,
        "usr/share/longhand/rcnt.vok": "data/rcnt.vok",
        "usr/share/longhand/cphelp.vok": "data/cphelp.vok",
        "usr/share/longhand/1.wav": "data/1.wav",
        "usr/share/longhand/longhand.png": "data/longhand.png",
        "usr/share/applications/longhand.desktop": "data/longhand.desktop",
        "usr/share/icons/hicolor/scalable/apps/longhand.svg": "data/longhand.svg",
        "usr/share/icons/hicolor/256x256/apps/longhand.png": "data/longhand.png",
        "usr/share/man/man1/longhand-calc.1.gz": None,
        f"usr/share/metainfo/{APPSTREAM_ID}.metainfo.xml": None,
        "usr/share/bash-completion/completions/longhand-calc": "data/completion/longhand-calc.bash",
        "usr/share/zsh/vendor-completions/_longhand-calc": "data/completion/_longhand-calc",
        "usr/share/fish/vendor_completions.d/longhand-calc.fish":
            "data/completion/longhand-calc.fish",
    }
    if gui:
        files["usr/bin/longhand"] = None
        files["usr/share/man/man1/longhand.1.gz"] = None
    return files


def section_lines(rendered, title):
    """The lines of one section of a rendered manual page."""
    lines, inside = [], False
    for line in rendered.splitlines():
        if re.fullmatch(r"[A-Z][A-Z ]*", line):
            inside = line == title
        elif inside:
            lines.append(line)
    return lines


def tags(lines):
    """The tags of the tagged paragraphs among `lines` (the text at the
    section's indent that stands before a gap of two blanks or the line's
    end); lines of running text give their first words as well, so callers
    look for known tags or take sections that hold tags alone."""
    found = []
    for line in lines:
        m = re.match(r" {7}(\S.*?)(?:\s{2,}|$)", line)
        if m:
            found.append(m.group(1))
    return found


def help_parts(help_text):
    """Command heads, operand forms and exit statuses from the usage text."""
    commands, statuses, part = [], [], None
    for line in help_text.splitlines():
        if line.startswith("Commands") or line == "Exit status:":
            part = line.split(",")[0].rstrip(":")
        elif not line.strip():
            part = None
        elif part == "Commands" and re.match(r"  \S", line):
            # The deeper lines are the examples.
            commands.append(re.split(r"\s{2,}", line.strip())[0])
        elif part == "Exit status" and re.match(r"  \d+  ", line):
            statuses.append(line.split()[0])
    operand_forms = sorted(set(re.findall(r"@(?:-|[A-Z]+)", help_text)))
    return commands, operand_forms, statuses


def depends_packages(field):
    """Package names in a Depends field, alternatives included."""
    names = set()
    for item in field.split(","):
        for alternative in item.split("|"):
            name = alternative.strip().split(" ")[0].split(":")[0]
            if name:
                names.add(name)
    return names


def owning_package(path):
    """The installed package that holds `path`, trying the /lib and /usr/lib
    spellings of a merged /usr."""
    candidates = [path, os.path.realpath(path)]
    for p in list(candidates):
        if p.startswith("/usr/"):
            candidates.append(p[len("/usr"):])
        else:
            candidates.append("/usr" + p)
    for p in candidates:
        result = run(["dpkg-query", "-S", p])
        if result.returncode == 0:
            return result.stdout.split(":")[0].split(",")[0].strip()
    return None


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="longhand-package-")
        out = os.path.join(cls.scratch, "out")
        made = run([ARGS.cpack, "-G", "DEB", "--config",
                    os.path.join(ARGS.build, "CPackConfig.cmake"), "-B", out])
        if made.returncode != 0:
            raise AssertionError("cpack failed:\n" + made.stdout + made.stderr)
        debs = [f for f in os.listdir(out) if f.endswith(".deb")]
        if len(debs) != 1:
            raise AssertionError(f"cpack made {debs}, not one package")
        cls.deb_name = debs[0]
        cls.deb = os.path.join(out, debs[0])
        cls.root = os.path.join(cls.scratch, "root")
        unpacked = run(["dpkg-deb", "-x", cls.deb, cls.root])
        if unpacked.returncode != 0:
            raise AssertionError("dpkg-deb -x failed:\n" + unpacked.stderr)
        cls.files = sorted(
            os.path.relpath(os.path.join(d, f), cls.root)
            for d, _, fs in os.walk(cls.root) for f in fs)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def path(self, relative):
        return os.path.join(self.root, relative)

    def field(self, name):
        return run(["dpkg-deb", "-f", self.deb, name]).stdout.strip()

    def programs(self):
        return [f for f in self.files if f.startswith("usr/bin/")]

    def test_name_and_control_fields(self):
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        self.assertEqual(self.deb_name, f"longhand_{ARGS.version}_{arch}.deb")
        for name, value in [("Package", "longhand"), ("Version", ARGS.version),
                            ("Architecture", arch)]:
            with self.subTest(field=name):
                self.assertEqual(self.field(name), value)
        for name in ("Maintainer", "Description", "Section"):
            with self.subTest(field=name):
                self.assertTrue(self.field(name), f"{name} is empty")

    def test_depends_name_every_library_the_programs_load(self):
        depends = depends_packages(self.field("Depends"))
        for program in self.programs():
            binary = self.path(program)
            needed = re.findall(r"\(NEEDED\)\s+Shared library: \[(.+?)\]",
                                run(["readelf", "-d", binary]).stdout)
            self.assertTrue(needed, f"{program} names no shared library")
            resolved = dict(re.findall(r"^\s*(\S+) => (/\S+)", run(["ldd", binary]).stdout,
                                       re.MULTILINE))
            for soname in needed:
                with self.subTest(program=program, library=soname):
                    self.assertIn(soname, resolved, f"ldd cannot find {soname}")
                    package = owning_package(resolved[soname])
                    self.assertIsNotNone(package, f"no package holds {resolved[soname]}")
                    self.assertIn(package, depends)

    def test_holds_exactly_the_installed_layout(self):
        expected = expected_files(ARGS.gui)
        self.assertEqual(self.files, sorted(expected))
        for installed, source in expected.items():
            if source is None:
                continue
            with self.subTest(file=installed):
                with open(self.path(installed), "rb") as a, \
                        open(os.path.join(ARGS.source, source), "rb") as b:
                    self.assertEqual(a.read(), b.read(), f"differs from {source}")

    def test_programs_are_stripped_executables_without_a_run_path(self):
        for program in self.programs():
            with self.subTest(program=program):
                binary = self.path(program)
                self.assertTrue(os.access(binary, os.X_OK))
                sections = run(["readelf", "-S", "--wide", binary]).stdout
                self.assertNotIn(".debug_info", sections)
                self.assertNotIn(".symtab", sections)
                dynamic = run(["readelf", "-d", binary]).stdout
                self.assertNotRegex(dynamic, r"\((RPATH|RUNPATH)\)")

    def test_menu_entry_starts_an_installed_program_with_an_installed_icon(self):
        desktop = self.path("usr/share/applications/longhand.desktop")
        entry = {}
        with open(desktop, encoding="utf-8") as f:
            for line in f:
                key, sep, value = line.rstrip("\n").partition("=")
                if sep:
                    entry[key] = value
        program = entry.get("Exec", "").split(" ")[0]
        self.assertIn(f"usr/bin/{program}", self.files, f"Exec={entry.get('Exec')}")
        icon = entry.get("Icon", "")
        icon_path = rf"usr/share/icons/hicolor/[^/]+/apps/{re.escape(icon)}\.(png|svg)"
        icons = [f for f in self.files if re.fullmatch(icon_path, f)]
        self.assertTrue(icons, f"no hicolor icon named {icon!r}")

    def test_menu_entry_passes_the_desktop_file_validator(self):
        # It also hints, on its output, at an entry without a main category.
        validator = shutil.which("desktop-file-validate")
        if not validator:
            self.skipTest("desktop-file-validate is missing (desktop-file-utils)")
        checked = run([validator, self.path("usr/share/applications/longhand.desktop")])
        self.assertEqual((checked.returncode, checked.stdout + checked.stderr), (0, ""))

    def test_metainfo_passes_the_appstream_validator_and_names_what_is_installed(self):
        metainfo = self.path(f"usr/share/metainfo/{APPSTREAM_ID}.metainfo.xml")
        validator = shutil.which("appstreamcli")
        if not validator:
            self.skipTest("appstreamcli is missing (appstream)")
        checked = run([validator, "validate", "--no-net", metainfo])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        import xml.etree.ElementTree as ElementTree
        root = ElementTree.parse(metainfo).getroot()
        self.assertEqual(root.findtext("id"), APPSTREAM_ID)
        self.assertEqual(root.find("releases/release").get("version"), ARGS.version)
        launchable = root.findtext("launchable")
        self.assertIn(f"usr/share/applications/{launchable}", self.files)
        for binary in root.iterfind("provides/binary"):
            if binary.text == "longhand" and not ARGS.gui:
                continue
            with self.subTest(binary=binary.text):
                self.assertIn(f"usr/bin/{binary.text}", self.files)

    def test_bash_completion_offers_commands_options_and_files_after_at(self):
        script = self.path("usr/share/bash-completion/completions/longhand-calc")
        calc = self.path("usr/bin/longhand-calc")
        folder = os.path.join(self.scratch, "operands")
        os.makedirs(os.path.join(folder, "digits"), exist_ok=True)
        open(os.path.join(folder, "pi.txt"), "w").close()
        cases = [
            (["fa"], ["fact"]),
            (["--h"], ["--help"]),
            (["add", "1", "@p"], ["@pi.txt"]),
            (["add", "@"], ["@-", "@digits/", "@pi.txt"]),
            (["add", "1"], []),
        ]
        for words, expected in cases:
            with self.subTest(words=words):
                line = " ".join(["longhand-calc"] + words)
                shell = (f"source {script}; COMP_WORDS=({calc} {' '.join(words)}); "
                         f"COMP_CWORD={len(words)}; COMP_LINE='{line}'; _longhand_calc; "
                         "printf '%s\\n' \"${COMPREPLY[@]}\"")
                done = run(["bash", "-c", shell], cwd=folder)
                self.assertEqual(done.stderr, "")
                self.assertEqual(sorted(done.stdout.split()), expected)

    def test_zsh_and_fish_completion_parse(self):
        for shell, check, page in [
                ("zsh", ["-n"], "usr/share/zsh/vendor-completions/_longhand-calc"),
                ("fish", ["--no-execute"], "usr/share/fish/vendor_completions.d/longhand-calc.fish")]:
            with self.subTest(shell=shell):
                if not shutil.which(shell):
                    self.skipTest(f"{shell} is missing")
                parsed = run([shell] + check + [self.path(page)])
                self.assertEqual((parsed.returncode, parsed.stderr), (0, ""))

    def render(self, page):
        env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8", MANPAGER="cat", PAGER="cat")
        rendered = run(["man", "--warnings", "-l", self.path(page)], env=env)
        self.assertEqual(rendered.returncode, 0, rendered.stderr)
        self.assertEqual(rendered.stderr, "", f"{page} renders with warnings")
        return run(["col", "-bx"], input=rendered.stdout).stdout

    def test_manual_pages_render_without_warnings_under_their_names(self):
        pages = [f for f in self.files if f.startswith("usr/share/man/man1/")]
        for page in pages:
            with self.subTest(page=page):
                program = os.path.basename(page).removesuffix(".1.gz")
                name = section_lines(self.render(page), "NAME")
                self.assertTrue(name and name[0].strip().startswith(program + " - "), name)

    def test_calc_manual_names_every_command_operand_form_and_exit_status(self):
        calc = self.path("usr/bin/longhand-calc")
        helped = run([calc, "--help"])
        self.assertEqual(helped.returncode, 0)
        commands, forms, statuses = help_parts(helped.stdout)
        self.assertTrue(commands and forms and statuses, helped.stdout)

        rendered = self.render("usr/share/man/man1/longhand-calc.1.gz")
        with self.subTest(section="COMMANDS"):
            self.assertEqual(tags(section_lines(rendered, "COMMANDS")), commands)
        with self.subTest(section="EXIT STATUS"):
            self.assertEqual(tags(section_lines(rendered, "EXIT STATUS")), statuses)
        operand_tags = tags(section_lines(rendered, "OPERANDS"))
        for form in forms:
            with self.subTest(operand=form):
                self.assertIn(form, operand_tags)

    def test_unpacked_calc_runs(self):
        a, b = "9" * 40, "1"
        summed = run([self.path("usr/bin/longhand-calc"), "add", a, b])
        self.assertEqual((summed.returncode, summed.stdout), (0, f"{int(a) + int(b)}\n"))

    def test_unpacked_window_seeds_the_users_folder(self):
        if not ARGS.gui:
            self.skipTest("built without the window")
        home = os.path.join(self.scratch, "home")
        runtime = os.path.join(self.scratch, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        env = {k: v for k, v in os.environ.items() if k != "XDG_DATA_HOME"}
        env.update(HOME=home, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="offscreen")
        user = os.path.join(home, ".local/share/longhand")
        seeded = {"rcnt.vok", "cphelp.vok"}
        before = list(self.files)
        window = subprocess.Popen([self.path("usr/bin/longhand")], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        try:
            deadline = time.monotonic() + WINDOW_START_SECONDS
            while time.monotonic() < deadline and window.poll() is None:
                if os.path.isdir(user) and seeded <= set(os.listdir(user)):
                    break
                time.sleep(0.1)
            self.assertIsNone(window.poll(), "the window ended early")
        finally:
            window.terminate()
            _, errors = window.communicate(timeout=30)
        self.assertTrue(os.path.isdir(user), f"no {user}; the window wrote:\n{errors}")
        self.assertEqual(set(os.listdir(user)), seeded)
        for name in sorted(seeded):
            with self.subTest(file=name):
                with open(os.path.join(user, name), "rb") as a, \
                        open(self.path(f"usr/share/longhand/{name}"), "rb") as b:
                    self.assertEqual(a.read(), b.read())
        after = sorted(os.path.relpath(os.path.join(d, f), self.root)
                       for d, _, fs in os.walk(self.root) for f in fs)
        self.assertEqual(after, before, "the window wrote into the installed tree")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--cpack", default="cpack")
    parser.add_argument("--gui", action="store_true")
    ARGS, rest = parser.parse_known_args()
    missing = [t for t in ("dpkg-deb", "dpkg-shlibdeps", "readelf", "man")
               if not shutil.which(t)]
    if missing:
        print("skipped: missing", " ".join(missing))
        return SKIPPED
    program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
