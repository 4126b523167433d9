# SPDX-License-Identifier: MIT
"""The display profile's side of the X tests, done by outside parts: the
root window's _ICC_PROFILE set and removed through python-xlib, expected
pixels from Pillow's ImageCms (Little CMS), and a small-gamut profile made
with Little CMS itself.

  icc.py set FILE [N]         put FILE in _ICC_PROFILE (_ICC_PROFILE_N)
  icc.py hold FILE            set it and stay connected until killed, as a
                              desktop's colour daemon does (Xvfb resets,
                              and drops the property, when its last
                              client leaves)
  icc.py remove [N]           take the property away
  icc.py expect FILE RRGGBB   the display pixel of an sRGB colour
  icc.py small FILE           write a small-gamut RGB display profile
  icc.py refuse N SIZE LOG    set N different unusable profiles of SIZE
                              bytes in turn, each once the program's LOG
                              has said it refused the one before
  icc.py unoptimised FILE RRGGBB
                              the display pixel of an sRGB colour through
                              Little CMS's unoptimised transform, the
                              profile's own black found for black-point
                              compensation where it has only A2B0/B2A0
"""
import ctypes
import ctypes.util
import io
import sys
import time


def atom_name(index):
    return "_ICC_PROFILE" if index == 0 else "_ICC_PROFILE_%d" % index


def set_property(path, index, hold=False):
    from Xlib import X, Xatom, display
    d = display.Display()
    root = d.screen().root
    with open(path, "rb") as f:
        data = f.read()
    root.change_property(d.intern_atom(atom_name(index)), Xatom.CARDINAL, 8, data, X.PropModeReplace)
    d.sync()
    if hold:
        print("held", flush=True)
        while True:
            time.sleep(60)


def remove_property(index):
    from Xlib import display
    d = display.Display()
    d.screen().root.delete_property(d.intern_atom(atom_name(index)))
    d.sync()


def expect(path, rgb):
    from PIL import Image, ImageCms
    colour = tuple(int(rgb[i:i + 2], 16) for i in (0, 2, 4))
    transform = ImageCms.buildTransform(
        ImageCms.createProfile("sRGB"), ImageCms.getOpenProfile(path), "RGB", "RGB",
        renderingIntent=ImageCms.Intent.RELATIVE_COLORIMETRIC,
        flags=ImageCms.FLAGS["BLACKPOINTCOMPENSATION"])
    out = ImageCms.applyTransform(Image.new("RGB", (1, 1), colour), transform)
    print("%02x%02x%02x" % out.getpixel((0, 0)))


class xyY(ctypes.Structure):
    _fields_ = [("x", ctypes.c_double), ("y", ctypes.c_double), ("Y", ctypes.c_double)]


def small(path):
    lcms = ctypes.CDLL(ctypes.util.find_library("lcms2") or "liblcms2.so.2")
    lcms.cmsBuildGamma.restype = ctypes.c_void_p
    lcms.cmsBuildGamma.argtypes = [ctypes.c_void_p, ctypes.c_double]
    lcms.cmsCreateRGBProfile.restype = ctypes.c_void_p
    lcms.cmsCreateRGBProfile.argtypes = [ctypes.POINTER(xyY), ctypes.POINTER(xyY * 3),
                                         ctypes.POINTER(ctypes.c_void_p * 3)]
    lcms.cmsSaveProfileToFile.argtypes = [ctypes.c_void_p, ctypes.c_char_p]
    white = xyY(0.3127, 0.3290, 1.0)
    # Primaries well inside sRGB's: a dull panel that cannot show the
    # card's vivid colours.
    primaries = (xyY * 3)(xyY(0.50, 0.34, 1.0), xyY(0.34, 0.48, 1.0), xyY(0.22, 0.22, 1.0))
    gamma = lcms.cmsBuildGamma(None, 2.2)
    curves = (ctypes.c_void_p * 3)(gamma, gamma, gamma)
    profile = lcms.cmsCreateRGBProfile(ctypes.byref(white), ctypes.byref(primaries), ctypes.byref(curves))
    if not profile or not lcms.cmsSaveProfileToFile(ctypes.c_void_p(profile), path.encode()):
        sys.exit("could not make the profile")


def refuse(count, size, log):
    import os
    from Xlib import X, Xatom, display
    d = display.Display()
    root = d.screen().root
    atom = d.intern_atom(atom_name(0))
    said = lambda: open(log, "rb").read().count(b"cannot be used")
    before = said()
    for i in range(count):
        data = os.urandom(size)
        # In pieces, as python-xlib has no big requests, while the program
        # waits: it reads the whole profile once.
        d.grab_server()
        piece = 1 << 17
        for at in range(0, size, piece):
            root.change_property(atom, Xatom.CARDINAL, 8, data[at:at + piece],
                                 X.PropModeReplace if at == 0 else X.PropModeAppend)
        d.ungrab_server()
        d.sync()
        deadline = time.time() + 10
        while said() < before + i + 1:
            if time.time() > deadline:
                sys.exit("profile %d was not said to be refused within 10 s" % (i + 1))
            time.sleep(0.01)
    print("refused %d" % count)


def unoptimised(path, rgb):
    # Little CMS finds a profile's black for the relative intent in its
    # A2B1/B2A1 tables: where it has only A2B0/B2A0, which it converts with
    # anyway, those stand in for them. No optimisation: the whole pipeline
    # is evaluated for the colour itself.
    lcms = ctypes.CDLL(ctypes.util.find_library("lcms2") or "liblcms2.so.2")
    lcms.cmsOpenProfileFromFile.restype = ctypes.c_void_p
    lcms.cmsOpenProfileFromFile.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    lcms.cmsCreate_sRGBProfile.restype = ctypes.c_void_p
    lcms.cmsIsTag.argtypes = [ctypes.c_void_p, ctypes.c_uint32]
    lcms.cmsLinkTag.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint32]
    lcms.cmsCreateTransform.restype = ctypes.c_void_p
    lcms.cmsCreateTransform.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_void_p, ctypes.c_uint32,
                                        ctypes.c_uint32, ctypes.c_uint32]
    lcms.cmsDoTransform.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint32]
    sig = lambda text: int.from_bytes(text.encode(), "big")
    display = lcms.cmsOpenProfileFromFile(path.encode(), b"r")
    for relative, other in (("A2B1", "A2B0"), ("B2A1", "B2A0")):
        if not lcms.cmsIsTag(display, sig(relative)) and lcms.cmsIsTag(display, sig(other)):
            lcms.cmsLinkTag(display, sig(relative), sig(other))
    type_rgb_8 = (4 << 16) | (3 << 3) | 1
    relative_colorimetric = 1
    flags = 0x2000 | 0x0100  # black-point compensation, no optimisation
    transform = lcms.cmsCreateTransform(lcms.cmsCreate_sRGBProfile(), type_rgb_8, display, type_rgb_8,
                                        relative_colorimetric, flags)
    if not transform:
        sys.exit("no transform")
    data = (ctypes.c_ubyte * 3)(*(int(rgb[i:i + 2], 16) for i in (0, 2, 4)))
    out = (ctypes.c_ubyte * 3)()
    lcms.cmsDoTransform(transform, data, out, 1)
    print("%02x%02x%02x" % tuple(out))


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "set":
        set_property(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 0)
    elif command == "hold":
        set_property(sys.argv[2], 0, hold=True)
    elif command == "remove":
        remove_property(int(sys.argv[2]) if len(sys.argv) > 2 else 0)
    elif command == "expect":
        expect(sys.argv[2], sys.argv[3])
    elif command == "refuse":
        refuse(int(sys.argv[2]), int(sys.argv[3]), sys.argv[4])
    elif command == "unoptimised":
        unoptimised(sys.argv[2], sys.argv[3])
    elif command == "small":
        small(sys.argv[2])
    else:
        sys.exit(__doc__)
