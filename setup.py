# SPDX-License-Identifier: MIT
"""pip's way into the CMake build (pyproject.toml): configures the project without the
desktop program and the tests, builds the target beugwerk_python for the interpreter pip runs
and installs the component python into the wheel. Its work goes to build-pip/."""
import os
import re
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = os.path.dirname(os.path.abspath(__file__))
WORK = os.path.join(SOURCE, "build-pip")


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        tree = os.path.join(WORK, "cmake")
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(["cmake", "-S", SOURCE, "-B", tree, "-DCMAKE_BUILD_TYPE=Release",
                        "-DBEUGWERK_GUI=OFF", "-DBEUGWERK_TESTS=OFF",
                        f"-DPython3_EXECUTABLE={sys.executable}",
                        "-DBEUGWERK_PYTHON_INSTALL_DIR=."], check=True)
        subprocess.run(["cmake", "--build", tree, "--target", "beugwerk_python", "-j", jobs],
                       check=True)
        subprocess.run(["cmake", "--install", tree, "--component", "python", "--prefix",
                        os.path.abspath(self.build_lib)], check=True)


with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as f:
    version = re.search(r"project\(Beugwerk VERSION ([0-9.]+)", f.read()).group(1)
os.makedirs(WORK, exist_ok=True)
setup(
    version=version,
    packages=[],
    ext_modules=[Extension("beugwerk._beugwerk", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": WORK}, "egg_info": {"egg_base": WORK}},
)
