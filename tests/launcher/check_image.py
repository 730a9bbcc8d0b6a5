#!/usr/bin/python3
"""Checks setup.exe as Windows will see it: image settings, imports and every
resource (manifest, version block, icon group), read from the built file."""
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

import pefile

PATH = sys.argv.pop(1) if len(sys.argv) > 1 else "build/bin/setup.exe"
PE = pefile.PE(PATH)

RT = {v: k for k, v in pefile.RESOURCE_TYPE.items()}


def resources():
    """{(type, id, language): bytes} for every resource in the image."""
    found = {}
    for type_entry in PE.DIRECTORY_ENTRY_RESOURCE.entries:
        for name_entry in type_entry.directory.entries:
            for lang_entry in name_entry.directory.entries:
                data = lang_entry.data.struct
                found[(type_entry.id, name_entry.id, lang_entry.id)] = PE.get_data(
                    data.OffsetToData, data.Size)
    return found


class Image(unittest.TestCase):
    def test_headers(self):
        self.assertEqual(PE.FILE_HEADER.Machine, 0x14C)  # i386
        opt = PE.OPTIONAL_HEADER
        self.assertEqual(opt.Subsystem, 2)  # Windows GUI
        self.assertEqual((opt.MajorSubsystemVersion, opt.MinorSubsystemVersion), (5, 1))
        self.assertEqual((opt.MajorOperatingSystemVersion, opt.MinorOperatingSystemVersion), (5, 1))
        for flag in (0x0040, 0x0100, 0x8000):  # dynamic base, NX compatible, terminal-server aware
            self.assertTrue(opt.DllCharacteristics & flag, hex(flag))

    def test_imports_only_kernel32_and_the_c_runtime(self):
        dlls = {entry.dll.decode().lower() for entry in PE.DIRECTORY_ENTRY_IMPORT}
        self.assertEqual(dlls, {"kernel32.dll", "msvcrt.dll"})

    def test_size(self):
        self.assertLessEqual(len(PE.__data__), 64 * 1024)

    def test_only_the_three_resources_all_in_language_1033(self):
        found = resources()
        self.assertEqual({(t, i) for (t, i, _) in found},
                         {(RT["RT_MANIFEST"], 1), (RT["RT_VERSION"], 1), (RT["RT_GROUP_ICON"], 101)}
                         | {(RT["RT_ICON"], i) for (t, i, _) in found if t == RT["RT_ICON"]})
        self.assertEqual({lang for (_, _, lang) in found}, {1033})

    def test_manifest(self):
        data = resources()[(RT["RT_MANIFEST"], 1, 1033)]
        root = ET.fromstring(data)
        ns = {"v1": "urn:schemas-microsoft-com:asm.v1", "v3": "urn:schemas-microsoft-com:asm.v3",
              "c": "urn:schemas-microsoft-com:compatibility.v1"}
        level = root.find(".//v3:requestedExecutionLevel", ns)
        self.assertEqual(level.attrib, {"level": "requireAdministrator", "uiAccess": "false"})
        identity = root.find("v1:dependency/v1:dependentAssembly/v1:assemblyIdentity", ns)
        self.assertEqual(identity.attrib, {
            "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
            "processorArchitecture": "x86", "publicKeyToken": "6595b64144ccf1df", "language": "*"})
        oses = [e.attrib["Id"] for e in root.findall(".//c:supportedOS", ns)]
        self.assertEqual(oses, ["{e2011457-1546-43c5-a5fe-008deee3d3f0}",
                                "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"])

    def test_version_block(self):
        self.assertEqual(len(PE.FileInfo[0]), 2)
        string_info = [fi for fi in PE.FileInfo[0] if fi.Key == b"StringFileInfo"][0]
        self.assertEqual(len(string_info.StringTable), 1)
        table = string_info.StringTable[0]
        self.assertEqual(table.LangID, b"040904B0")
        self.assertEqual(table.entries, {
            b"FileDescription": b"Setup Launcher", b"ProductName": b"Setup Launcher",
            b"InternalName": b"setup.exe", b"OriginalFilename": b"setup.exe",
            b"FileVersion": b"1.0.135.0", b"ProductVersion": b"1.0.135.0"})
        var_info = [fi for fi in PE.FileInfo[0] if fi.Key == b"VarFileInfo"][0]
        self.assertEqual(var_info.Var[0].entry, {b"Translation": "0x0409 0x04b0"})
        fixed = PE.VS_FIXEDFILEINFO[0]
        version = (1 << 16 | 0, 135 << 16 | 0)
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), version)
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS), version)
        self.assertEqual(fixed.FileOS, 0x40004)  # VOS_NT_WINDOWS32
        self.assertEqual(fixed.FileType, 1)  # VFT_APP

    def test_icon_group(self):
        found = resources()
        group = found[(RT["RT_GROUP_ICON"], 101, 1033)]
        reserved, kind, count = struct.unpack_from("<HHH", group)
        self.assertEqual((reserved, kind), (0, 1))
        images = set()
        for i in range(count):
            w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            image = found[(RT["RT_ICON"], icon_id, 1033)]
            self.assertEqual(len(image), size)
            header_size, width, height, _, header_bits = struct.unpack_from("<IiiHH", image)
            self.assertEqual((header_size, width, height, header_bits), (40, w, 2 * h, bits))
            images.add((w, h, bits))
        self.assertEqual(images, {(16, 16, 4), (16, 16, 8), (32, 32, 1), (32, 32, 4), (32, 32, 8),
                                  (48, 48, 8)})
        self.assertEqual(count, 6)


if __name__ == "__main__":
    unittest.main(verbosity=1)
