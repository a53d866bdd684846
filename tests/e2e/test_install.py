"""The installed game. `cmake --install` into a temporary prefix gives the GNU layout
with its menu entry, icons, AppStream metadata and manual page, and the validators
accept them. The installed game, started by its menu entry's command in a home folder
of its own, reaches the main menu, keeps its fortress in that home and writes nothing
under the prefix; a restart finds the same fortress and puts a screenshot in the home's
data folder, a second home gets a second fortress.
The build tree's game, started from anywhere through a link, keeps its files beside
bin/ as before. --help, --version and a bad option behave as on any command line."""
import os
import re
import shlex
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

from harness import GameTree, build_dir

APP_ID = "org.example.velkaran"
ICON_SIZES = (48, 64, 128, 256)


def snapshot(root):
    """Every file and folder under root with its size and modification time."""
    seen = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            seen[os.path.relpath(path, root)] = (st.st_size, st.st_mtime_ns)
    return seen


def player_env(home, **extra):
    env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
    env.update(HOME=home, SDL_AUDIODRIVER="dummy", **extra)
    return env


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", path
    return struct.unpack(">II", head[16:24])


def settings_of(path):
    with open(path, "rb") as f:
        text = f.read().decode("cp1252")
    seed = re.search(r"^map_seed=(\d+)\r?$", text, re.M)
    assert seed and re.search(r"^map_name=[A-Za-z]{6,10}\r?$", text, re.M), text
    return text, int(seed.group(1))


def wait_for(predicate, what, process, timeout=90):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return
        assert process.poll() is None, "the game ended early (%s) while waiting for %s" % (process.returncode, what)
        time.sleep(0.3)
    raise AssertionError("no %s within %d s" % (what, timeout))


def window_difference(window, picture, scratch):
    shot = os.path.join(scratch, "window.png")
    subprocess.run(["import", "-window", window, shot], check=True)
    size = subprocess.run(["identify", "-format", "%wx%h", shot], capture_output=True, text=True,
                          check=True).stdout.strip()
    scaled = os.path.join(scratch, "expected.png")
    subprocess.run(["convert", picture, "-resize", size + "!", "-alpha", "off", scaled], check=True)
    out = subprocess.run(["compare", "-metric", "RMSE", "-alpha", "off", shot, scaled, "null:"],
                         capture_output=True, text=True)
    return float(out.stderr.split("(")[1].split(")")[0])


def game_window(process):
    def found():
        out = subprocess.run(["xdotool", "search", "--name", "^Velkaran$"], capture_output=True, text=True)
        found.ids = out.stdout.split()
        return bool(found.ids)
    wait_for(found, "game window", process)
    return found.ids[0]


def check_layout(prefix):
    share = os.path.join(prefix, "share")
    data = os.path.join(share, "velkaran", "Data")
    for path in ("bin/velkaran", "share/velkaran/Data/Shaders/HUD.vs", "share/velkaran/Data/Textures/Main_menu.png",
                 "share/velkaran/Data/Fonts/Roboto-BoldItalic.ttf", "share/velkaran/Data/Audio/MainMenu.mp3",
                 "share/applications/%s.desktop" % APP_ID, "share/metainfo/%s.metainfo.xml" % APP_ID,
                 "share/man/man6/velkaran.6.gz", "share/doc/velkaran/copyright"):
        assert os.path.isfile(os.path.join(prefix, path)), "missing " + path
    assert os.access(os.path.join(prefix, "bin", "velkaran"), os.X_OK)
    # The player's files are never part of the read-only tree, nor is a Data/ at the prefix's root.
    for absent in (os.path.join(prefix, "Data"), os.path.join(data, "Settings"), os.path.join(data, "Screenshots")):
        assert not os.path.exists(absent), absent + " should not be installed"
    for size in ICON_SIZES:
        icon = os.path.join(share, "icons", "hicolor", "%dx%d" % (size, size), "apps", "velkaran.png")
        assert png_size(icon) == (size, size), icon
    man = subprocess.run(["gzip", "-dc", os.path.join(share, "man", "man6", "velkaran.6.gz")], capture_output=True,
                         text=True, check=True).stdout
    assert man.startswith(".TH VELKARAN 6 "), man[:80]
    for option in ("--script", "--dt", "--trace", "--trace-every", "--frames", "--fast-forward", "--help",
                   "--version"):
        assert option.replace("-", "\\-") in man, "the manual page lists " + option


def check_desktop_files(prefix):
    share = os.path.join(prefix, "share")
    desktop = os.path.join(share, "applications", APP_ID + ".desktop")
    metainfo = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
    entry = {}
    with open(desktop, encoding="utf-8") as f:
        for line in f:
            if "=" in line and not line.startswith("#"):
                key, value = line.rstrip("\n").split("=", 1)
                entry.setdefault(key, value)
    assert entry["Type"] == "Application" and entry["Icon"] == "velkaran", entry
    assert {"Game", "ActionGame"} <= set(entry["Categories"].split(";")), entry["Categories"]
    assert entry.get("Terminal", "false") == "false"

    component = ElementTree.parse(metainfo).getroot()
    assert component.get("type") == "desktop-application"
    assert component.findtext("id") == APP_ID
    assert component.find("launchable").text == APP_ID + ".desktop"
    assert component.find("screenshots/screenshot/image").text.startswith("https://")
    releases = component.findall("releases/release")
    assert releases and re.fullmatch(r"\d{4}-\d\d-\d\d", releases[0].get("date")), "a dated release"
    version = subprocess.run([os.path.join(prefix, "bin", "velkaran"), "--version"], capture_output=True,
                             text=True).stdout.split()[-1]
    assert releases[0].get("version") == version, "the newest release is this version: %s vs %s" % (
        releases[0].get("version"), version)

    validators = [(["desktop-file-validate", desktop], "desktop-file-validate"),
                  (["appstreamcli", "validate", "--no-net", "--pedantic", "--strict", metainfo], "appstreamcli")]
    for command, tool in validators:
        if shutil.which(tool) is None:
            print("SKIP %s: not installed (scripts/install-deps.sh installs it)" % tool)
            continue
        result = subprocess.run(command, capture_output=True, text=True)
        assert result.returncode == 0 and "warning" not in result.stdout.lower(), "%s: %s%s" % (
            tool, result.stdout, result.stderr)
    return shlex.split(entry["Exec"])


def check_command_line(game):
    help_run = subprocess.run([game, "--help"], capture_output=True, text=True, timeout=30)
    assert help_run.returncode == 0 and help_run.stderr == "", help_run
    assert help_run.stdout.startswith("Usage: velkaran "), help_run.stdout
    for option in ("--script FILE", "--dt S", "--trace FILE", "--trace-every K", "--frames N", "--fast-forward N",
                   "--version"):
        assert option in help_run.stdout, "the help lists " + option
    assert subprocess.run([game, "-h"], capture_output=True, text=True).stdout == help_run.stdout

    version = subprocess.run([game, "--version"], capture_output=True, text=True, timeout=30)
    assert version.returncode == 0 and re.fullmatch(r"velkaran \d+(\.\d+)+\n", version.stdout), version

    for args in (["--fullscreen"], ["stray"], ["--frames", "many"], ["--dt"]):
        bad = subprocess.run([game, *args], capture_output=True, text=True, timeout=30)
        assert bad.returncode == 2, (args, bad.returncode)
        assert bad.stdout == "" and bad.stderr.count("\n") == 1 and bad.stderr.startswith("velkaran: "), (args, bad)
    # A full standard output is an error, not a help text shown.
    if os.path.exists("/dev/full"):
        with open("/dev/full", "w") as full:
            assert subprocess.run([game, "--version"], stdout=full, stderr=subprocess.DEVNULL).returncode == 1


def run_installed(command, prefix, home, scratch, menu, env_extra=None):
    """Starts the menu entry's command as a desktop does (by name through PATH, in the
    home folder), waits for the main menu picture, and quits it with SIGTERM."""
    env = player_env(home, **(env_extra or {}))
    env["PATH"] = os.path.join(prefix, "bin") + os.pathsep + env.get("PATH", "")
    out_path, err_path = os.path.join(scratch, "stdout.txt"), os.path.join(scratch, "stderr.txt")
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        process = subprocess.Popen(command, cwd=home, env=env, stdout=out, stderr=err)
    try:
        window = game_window(process)
        wait_for(lambda: window_difference(window, menu, scratch) <= 0.05, "main menu picture", process)
        process.send_signal(signal.SIGTERM)
        code = process.wait(timeout=30)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    with open(err_path, "rb") as f:
        err = f.read().decode(errors="replace")
    assert code == 0, "exit status %s: %s" % (code, err)
    # The choice of folders is silent when it works.
    assert "velkaran:" not in err and "Unable to write" not in err, err
    return err


def run_frames(command, cwd, env, frames=5, script=os.devnull):
    result = subprocess.run([*command, "--script", script, "--frames", str(frames)], cwd=cwd, env=env,
                            capture_output=True, text=True, timeout=120)
    assert result.returncode == 0, "exit %s: %s" % (result.returncode, result.stderr)
    assert "velkaran:" not in result.stderr and "Unable to write" not in result.stderr, result.stderr
    return result


def main():
    build = build_dir()
    scratch = tempfile.mkdtemp(prefix="velkaran-install-")
    try:
        prefix = os.path.join(scratch, "prefix")
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True, stdout=subprocess.DEVNULL)
        check_layout(prefix)
        command = check_desktop_files(prefix)
        assert command[0] == "velkaran", "the menu entry starts the game by name: %s" % command
        check_command_line(os.path.join(prefix, "bin", "velkaran"))

        before = snapshot(prefix)
        menu = os.path.join(prefix, "share", "velkaran", "Data", "Textures", "Main_menu.png")

        # First start in a fresh home: the XDG defaults, created on first use.
        home1 = os.path.join(scratch, "home1")
        os.makedirs(home1)
        run_installed(command, prefix, home1, scratch, menu)
        settings1 = os.path.join(home1, ".config", "velkaran", "Settings.ini")
        assert os.path.isfile(settings1), "the first start keeps the fortress under HOME: %s" % snapshot(home1)
        assert oct(os.stat(os.path.dirname(settings1)).st_mode & 0o777) == "0o700"
        text1, seed1 = settings_of(settings1)
        assert snapshot(prefix) == before, "nothing is written under the prefix"

        # A restart, from another working directory, finds the same fortress and leaves it as
        # it was; F12 in play puts the screenshot in the player's data folder.
        f12 = os.path.join(scratch, "f12.txt")
        with open(f12, "w") as f:
            f.write("2 keyup f12\n")
        run_frames([os.path.join(prefix, "bin", "velkaran")], scratch, player_env(home1), frames=6, script=f12)
        assert settings_of(settings1)[0] == text1, "the restart rebuilt the stored fortress"
        shots = os.path.join(home1, ".local", "share", "velkaran", "Screenshots")
        assert os.path.isdir(shots) and len(os.listdir(shots)) == 1, snapshot(home1)
        assert re.fullmatch(r"captura_pantalla_\d{4}\.bmp", os.listdir(shots)[0]), os.listdir(shots)

        # A second player, with XDG_CONFIG_HOME of their own: a second, independent fortress.
        home2 = os.path.join(scratch, "home2")
        os.makedirs(home2)
        config2 = os.path.join(home2, "config")
        while int(time.time()) <= seed1:  # a new fortress's seed is the clock's second
            time.sleep(0.1)
        run_frames(command, home2, dict(player_env(home2, XDG_CONFIG_HOME=config2),
                                        PATH=os.path.join(prefix, "bin") + os.pathsep + os.environ["PATH"]))
        text2, seed2 = settings_of(os.path.join(config2, "velkaran", "Settings.ini"))
        assert seed2 != seed1, "each home has its own fortress"
        assert not os.path.exists(os.path.join(home2, ".config", "velkaran")), "XDG_CONFIG_HOME wins over ~/.config"
        assert settings_of(settings1)[0] == text1, "the first player's fortress is untouched"
        assert snapshot(prefix) == before, "nothing is written under the prefix"
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    # The build tree's game through a link in a tree of its own, started from elsewhere:
    # the files stay beside that tree's bin/, nothing goes to HOME.
    tree = GameTree(build)
    try:
        home3 = os.path.join(tree.root, "home3")
        os.makedirs(home3)
        run_frames([os.path.join(tree.bin, "velkaran")], home3, player_env(home3))
        settings_of(tree.settings)
        kept = [os.path.join(folder, name) for folder, dirs, files in os.walk(home3) for name in dirs + files
                if "velkaran" in name.lower()]
        assert kept == [], "the build tree keeps nothing in HOME: %s" % kept
    finally:
        tree.cleanup()
    print("ok")


if __name__ == "__main__":
    main()
    sys.exit(0)
