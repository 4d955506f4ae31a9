#!/usr/bin/python3
"""Checks the shipped module file: a 32-bit DLL that exports exactly the host's
two linkage records, with the words the host expects, that needs no DLL
beyond the system's, and that tells Windows what it is and which version.

usage: check_dll.py DLL VERSION"""

import struct
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "winmm.dll", "msvcrt.dll",
               "comdlg32.dll", "dsound.dll", "ole32.dll"}
RET = 0xC3


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def check_version(pe, version):
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        fail("no version resource")
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF, fixed.FileVersionLS >> 16)
    if ".".join(map(str, numbers)) != version or fixed.FileVersionLS & 0xFFFF:
        fail(f"file version {numbers} is not {version}")
    strings = {}
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({key.decode(): value.decode() for key, value in table.entries.items()})
    expected = {"FileVersion": version, "ProductVersion": version, "ProductName": "Varolen 2004",
                "OriginalFilename": "Varolen2004.dll"}
    for key, value in expected.items():
        if strings.get(key) != value:
            fail(f"version resource {key} is {strings.get(key)!r}, expected {value!r}")
    for key in ("CompanyName", "FileDescription"):
        if not strings.get(key):
            fail(f"version resource has no {key}")


def section_names(pe):
    """Section names, the long ones ("/4") looked up in the string table."""
    table = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    data = pe.__data__
    names = []
    for section in pe.sections:
        name = section.Name.rstrip(b"\0")
        if name.startswith(b"/") and pe.FILE_HEADER.PointerToSymbolTable:
            start = table + int(name[1:])
            name = data[start:data.find(b"\0", start)]
        names.append(name.decode(errors="replace"))
    return names


def main(path, version):
    try:
        pe = pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        fail(f"{path}: {error} (build it with: cmake --workflow --preset mingw)")

    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        fail("not a 32-bit x86 image")
    if not pe.is_dll():
        fail("not a DLL")

    # What pilots get carries no debug sections and no symbols: those stay in
    # the build folder (Varolen2004.dll.debug).
    debug = [name for name in section_names(pe) if name.startswith(".debug")]
    if debug or pe.FILE_HEADER.NumberOfSymbols != 0:
        fail(f"the module is not stripped: debug sections {debug}, {pe.FILE_HEADER.NumberOfSymbols} symbols")

    exports = {symbol.name.decode(): symbol.address for symbol in pe.DIRECTORY_ENTRY_EXPORT.symbols}
    if set(exports) != {"ImportTable", "Linkage"}:
        fail(f"exports {sorted(exports)}, expected exactly ImportTable and Linkage")

    imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    if not imports <= SYSTEM_DLLS:
        fail(f"imports DLLs beyond the system's: {sorted(imports - SYSTEM_DLLS)}")

    import_table = struct.unpack("<4I", pe.get_data(exports["ImportTable"], 16))
    if import_table != (0x0F, 0, 0, 0):
        fail("ImportTable words are " + " ".join(f"{word:#x}" for word in import_table))

    linkage = struct.unpack("<7I", pe.get_data(exports["Linkage"], 28))
    module_id, init, deinit, *rest = linkage
    if module_id != 0x13 or rest != [0, 0, 0x900, 0]:
        fail("Linkage words are " + " ".join(f"{word:#x}" for word in linkage))
    base = pe.OPTIONAL_HEADER.ImageBase
    for name, address in (("init", init), ("de-init", deinit)):
        section = pe.get_section_by_rva(address - base) if address > base else None
        if section is None or not section.Characteristics & 0x20000000:  # executable
            fail(f"the {name} entry {address:#x} is not code of the module")
        # Entries that take nothing and do nothing: their first instruction returns.
        if pe.get_data(address - base, 1)[0] != RET:
            fail(f"the {name} entry does more than return")

    check_version(pe, version)
    print(f"OK: {path} version {version} exports ImportTable and Linkage; imports {', '.join(sorted(imports))}")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
