# SPDX-License-Identifier: MIT
"""Prints where under PREFIX this interpreter finds packages, relative to PREFIX: Debian's
lib/python3/dist-packages under /usr, lib/python3.X/dist-packages under /usr/local, the
platform's lib/python3.X/site-packages elsewhere. Usage: install_dir.py PREFIX"""
import os
import sys
import sysconfig

prefix = os.path.normpath(sys.argv[1])
schemes = sysconfig.get_scheme_names()
base = prefix
if prefix == "/usr" and "deb_system" in schemes:
    scheme = "deb_system"
elif prefix == "/usr/local" and "posix_local" in schemes:
    scheme, base = "posix_local", "/usr"  # Debian's scheme adds the "local" itself
elif os.name == "posix":
    scheme = "posix_prefix"
else:
    scheme = sysconfig.get_default_scheme()
path = sysconfig.get_path("platlib", scheme, vars={"base": base, "platbase": base})
print(os.path.relpath(path, prefix).replace(os.sep, "/"))
