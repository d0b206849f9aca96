"""The compiled part of the nimbra package, built with the project's CMake.

The CMake tree is build/python under the sources unless NIMBRA_CMAKE_BUILD_DIR names another
(scripts/test names the release tree, whose objects are then reused as they are). A new tree
is configured as the release build is, without the desktop program, and goes through ccache
when it is installed, so it shares the release tree's objects."""

import os
import shutil
import subprocess
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        tree = Path(os.environ.get("NIMBRA_CMAKE_BUILD_DIR", ROOT / "build" / "python"))
        tree = tree if tree.is_absolute() else ROOT / tree
        env = {**os.environ, "CCACHE_BASEDIR": str(ROOT), "CCACHE_NOHASHDIR": "1"}
        if not (tree / "CMakeCache.txt").exists():
            configure = ["cmake", "-S", str(ROOT), "-B", str(tree), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release"]
            configure.append("-DNIMBRA_GUI=OFF")
            if shutil.which("ccache"):
                configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
            subprocess.run(configure, check=True, env=env)
        subprocess.run(["cmake", "--build", str(tree), "--target", "nimbra_python", "-j2"], check=True, env=env)
        built = next((tree / "python" / "nimbra").glob("_nimbra*.so"))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


setup(ext_modules=[Extension("nimbra._nimbra", sources=[])], cmdclass={"build_ext": CMakeBuild})
