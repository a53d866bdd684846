"""The Debian package: `cpack -G DEB` gives a package of the game alone whose
dependencies come from its shared libraries; unpacked as dpkg would install it, its
game answers from /usr/bin and, started by its menu entry's command, keeps the
fortress in the player's home."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from harness import build_dir

APP_ID = "org.example.velkaran"


def fields(info):
    found = {}
    for line in info.splitlines():
        m = re.match(r"^ ([A-Za-z-]+): (.*)$", line)
        if m:
            found[m.group(1)] = m.group(2)
    return found


def main():
    build = build_dir()
    for tool in ("cpack", "dpkg-deb", "dpkg-shlibdeps"):
        if shutil.which(tool) is None:
            print("SKIP: %s is not installed (build-essential and cmake bring it)" % tool)
            return
    scratch = tempfile.mkdtemp(prefix="velkaran-deb-")
    try:
        # gzip rather than the package's xz: the same files, a minute less of the test's time.
        subprocess.run(["cpack", "-G", "DEB", "-B", scratch, "-D", "CPACK_DEBIAN_COMPRESSION_TYPE=gzip",
                        "--config", os.path.join(build, "CPackConfig.cmake")],
                       check=True, stdout=subprocess.DEVNULL, timeout=280)
        debs = [f for f in os.listdir(scratch) if f.endswith(".deb")]
        assert len(debs) == 1 and re.fullmatch(r"velkaran_[0-9.]+_[a-z0-9]+\.deb", debs[0]), debs
        deb = os.path.join(scratch, debs[0])

        info = fields(subprocess.run(["dpkg-deb", "-I", deb], capture_output=True, text=True, check=True).stdout)
        assert info["Package"] == "velkaran" and info["Section"] == "games", info
        depends = info["Depends"]
        for library in ("libsdl2-2.0-0", "libsdl2-mixer-2.0-0", "libglew", "libassimp", "libfreetype6", "libc6"):
            assert library in depends, "%s in Depends: %s" % (library, depends)

        listing = subprocess.run(["dpkg-deb", "-c", deb], capture_output=True, text=True, check=True).stdout
        paths = {line.split()[-1].lstrip(".") for line in listing.splitlines()}
        for path in ("/usr/bin/velkaran", "/usr/share/velkaran/Data/Shaders/HUD.vs",
                     "/usr/share/applications/%s.desktop" % APP_ID, "/usr/share/metainfo/%s.metainfo.xml" % APP_ID,
                     "/usr/share/icons/hicolor/48x48/apps/velkaran.png",
                     "/usr/share/icons/hicolor/256x256/apps/velkaran.png", "/usr/share/man/man6/velkaran.6.gz",
                     "/usr/share/doc/velkaran/copyright"):
            assert path in paths, "the package holds " + path
        for path in paths:
            assert not re.search(r"/(velkaran-sim|velkaran-fortress|Settings|Screenshots)(/|$)", path), \
                "the package holds only the game: " + path
        owners = {tuple(line.split()[1].split("/")) for line in listing.splitlines()}
        assert owners == {("root", "root")}, owners

        root = os.path.join(scratch, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        game = os.path.join(root, "usr", "bin", "velkaran")
        version = subprocess.run([game, "--version"], capture_output=True, text=True, timeout=30)
        assert version.returncode == 0 and version.stdout.startswith("velkaran "), version

        home = os.path.join(scratch, "home")
        os.makedirs(home)
        env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
        env.update(HOME=home, SDL_AUDIODRIVER="dummy", PATH=os.path.join(root, "usr", "bin") + os.pathsep + env["PATH"])
        run = subprocess.run(["velkaran", "--script", os.devnull, "--frames", "5"], cwd=home, env=env,
                             capture_output=True, text=True, timeout=120)
        assert run.returncode == 0, run.stderr
        with open(os.path.join(home, ".config", "velkaran", "Settings.ini")) as f:
            assert re.search(r"^map_seed=[1-9]\d*$", f.read(), re.M)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print("ok")


if __name__ == "__main__":
    main()
    sys.exit(0)
