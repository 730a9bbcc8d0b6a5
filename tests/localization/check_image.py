#!/usr/bin/python3
"""Checks Wendrel.dll as hosts and Windows see it: the export directory,
imports, resources and image settings, read from the built file."""
import sys
import unittest
import xml.etree.ElementTree as ET

import pefile

PATH = sys.argv.pop(1) if len(sys.argv) > 1 else "build/bin/Wendrel.dll"
PE = pefile.PE(PATH)


class Library(unittest.TestCase):
    def test_a_32_bit_dll(self):
        self.assertEqual(PE.FILE_HEADER.Machine, 0x14C)
        self.assertTrue(PE.FILE_HEADER.Characteristics & 0x2000)  # IMAGE_FILE_DLL

    def test_exports_by_plain_name_in_alphabetical_ordinals(self):
        exports = PE.DIRECTORY_ENTRY_EXPORT
        self.assertEqual(PE.get_string_at_rva(exports.struct.Name), b"Wendrel.dll")
        self.assertEqual([(s.ordinal, s.name.decode()) for s in exports.symbols],
                         [(1, "AddLRM"), (2, "GetLanguagePrefix"), (3, "GetString"),
                          (4, "Initialize"), (5, "UnInitialize")])
        self.assertTrue(all(s.forwarder is None for s in exports.symbols))

    def test_imports_only_system_libraries(self):
        dlls = {entry.dll.decode().lower() for entry in PE.DIRECTORY_ENTRY_IMPORT}
        self.assertEqual(dlls, {"kernel32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll"})

    def test_only_a_manifest_resource(self):
        found = [(t.id, n.id, l.id) for t in PE.DIRECTORY_ENTRY_RESOURCE.entries
                 for n in t.directory.entries for l in n.directory.entries]
        self.assertEqual(found, [(pefile.RESOURCE_TYPE["RT_MANIFEST"], 2, 1033)])
        entry = PE.DIRECTORY_ENTRY_RESOURCE.entries[0].directory.entries[0].directory.entries[0]
        root = ET.fromstring(PE.get_data(entry.data.struct.OffsetToData, entry.data.struct.Size))
        level = root.find(".//{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel")
        self.assertEqual(level.attrib, {"level": "asInvoker", "uiAccess": "false"})
        dpi = root.find(".//{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware")
        self.assertEqual(dpi.text, "true")


if __name__ == "__main__":
    unittest.main(verbosity=1)
