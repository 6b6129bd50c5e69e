"""tarnwick --decode judged against dmidecode 3.4's decoding of the corpus, field by field.

For each corpus table, the structures of `tarnwick --decode --json` are paired with those of
NAME.dmidecode.txt in table order; for each line dmidecode prints of a field that both decode (the
pairs below: dmidecode's label, the DSP0134 field --decode names, how the two are compared), the
strings, the words of an enumeration and the numbers must agree, or a row of docs/decode.md must
give the difference and its reason: a DSP0134 3.9 value that dmidecode 3.4 does not know, or a word
of dmidecode's that differs from DSP0134's. Prints the fields compared, agreeing and explained by
reason; fails on a difference that no row explains.

Then the memory devices against systemd's dmi_memory_id (Debian's udev), which reads the same dumps:
sizes in bytes, speeds, ranks, widths, the words of form factors, types and details, and the strings.

    decode_against_dmidecode.py TARNWICK CORPUS_DIR DECODE_MD
"""
import collections
import json
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import end_to_end  # noqa: E402

# type: [(dmidecode's label, --decode's field, comparison)]; a comparison is a kind, or a kind
# and what it needs (the index of a part, a bit's name, a second field).
PAIRS = {
    0: [("Vendor", "Vendor", "string"), ("Version", "BIOS Version", "string"),
        ("Release Date", "BIOS Release Date", "string"), ("Address", "BIOS Starting Address Segment", "word"),
        ("ROM Size", ("BIOS ROM Size", "Extended BIOS ROM Size"), "rom"),
        ("Characteristics", ("BIOS Characteristics", "BIOS Characteristics Extension Byte 1",
                             "BIOS Characteristics Extension Byte 2"), "bits"),
        ("BIOS Revision", ("System BIOS Major Release", "System BIOS Minor Release"), "release"),
        ("Firmware Revision", ("Embedded Controller Firmware Major Release",
                               "Embedded Controller Firmware Minor Release"), "release")],
    1: [("Manufacturer", "Manufacturer", "string"), ("Product Name", "Product Name", "string"),
        ("Version", "Version", "string"), ("Serial Number", "Serial Number", "string"), ("UUID", "UUID", "word"),
        ("Wake-up Type", "Wake-up Type", "word"), ("SKU Number", "SKU Number", "string"),
        ("Family", "Family", "string")],
    2: [("Manufacturer", "Manufacturer", "string"), ("Product Name", "Product", "string"),
        ("Version", "Version", "string"), ("Serial Number", "Serial Number", "string"),
        ("Asset Tag", "Asset Tag", "string"), ("Features", ("Feature Flags",), "bits"),
        ("Location In Chassis", "Location in Chassis", "string"), ("Chassis Handle", "Chassis Handle", "handle"),
        ("Type", "Board Type", "word"), ("Contained Object Handles", "Number of Contained Object Handles", "number")],
    3: [("Manufacturer", "Manufacturer", "string"), ("Type", "Type", ("part", 0)),
        ("Lock", "Type", ("bit", "Chassis lock is present")), ("Version", "Version", "string"),
        ("Serial Number", "Serial Number", "string"), ("Asset Tag", "Asset Tag Number", "string"),
        ("Boot-up State", "Boot-up State", "word"), ("Power Supply State", "Power Supply State", "word"),
        ("Thermal State", "Thermal State", "word"), ("Security Status", "Security Status", "word"),
        ("OEM Information", "OEM-defined", "number"), ("Height", "Height", "number"),
        ("Number Of Power Cords", "Number of Power Cords", "number"),
        ("Contained Elements", "Contained Element Count", "number"), ("SKU Number", "SKU Number", "string")],
    4: [("Socket Designation", "Socket Designation", "string"), ("Type", "Processor Type", "word"),
        ("Family", ("Processor Family", "Processor Family 2"), "family"),
        ("Manufacturer", "Processor Manufacturer", "string"), ("ID", "Processor ID", "id"),
        ("Version", "Processor Version", "string"), ("Voltage", "Voltage", "number"),
        ("External Clock", "External Clock", "number"), ("Max Speed", "Max Speed", "number"),
        ("Current Speed", "Current Speed", "number"), ("Upgrade", "Processor Upgrade", "word"),
        ("L1 Cache Handle", "L1 Cache Handle", "handle"), ("L2 Cache Handle", "L2 Cache Handle", "handle"),
        ("L3 Cache Handle", "L3 Cache Handle", "handle"), ("Serial Number", "Serial Number", "string"),
        ("Asset Tag", "Asset Tag", "string"), ("Part Number", "Part Number", "string"),
        ("Core Count", ("Core Count", "Core Count 2"), "count"), ("Core Enabled", ("Core Enabled", "Core Enabled 2"), "count"),
        ("Thread Count", ("Thread Count", "Thread Count 2"), "count"),
        ("Characteristics", ("Processor Characteristics",), "bits")],
    7: [("Socket Designation", "Socket Designation", "string"),
        ("Operational Mode", "Cache Configuration", ("part", 2)), ("Location", "Cache Configuration", ("part", 1)),
        ("Installed Size", ("Installed Size", "Installed Cache Size 2"), "cache"),
        ("Maximum Size", ("Maximum Cache Size", "Maximum Cache Size 2"), "cache"),
        ("Supported SRAM Types", ("Supported SRAM Type",), "bits"),
        ("Speed", "Cache Speed", "number"), ("Error Correction Type", "Error Correction Type", "word"),
        ("System Type", "System Cache Type", "word"), ("Associativity", "Associativity", "word")],
    8: [("Internal Reference Designator", "Internal Reference Designator", "string"),
        ("Internal Connector Type", "Internal Connector Type", "word"),
        ("External Reference Designator", "External Reference Designator", "string"),
        ("External Connector Type", "External Connector Type", "word"), ("Port Type", "Port Type", "word")],
    9: [("Designation", "Slot Designation", "string"), ("Current Usage", "Current Usage", "word"),
        ("Length", "Slot Length", "word"), ("ID", "Slot ID", "number"),
        ("Characteristics", ("Slot Characteristics 1", "Slot Characteristics 2"), "bits")],
    10: [("Type", "Device Type", ("item part", 0)), ("Status", "Device Type", ("item bit", "Enabled")),
         ("Description", "Description String", "item string")],
    11: [("String", None, "strings")],
    12: [("Option", None, "strings")],
    13: [("Installable Languages", "Installable Languages", "number"),
          ("Currently Installed Language", "Current Language", "string")],
    14: [("Name", "Group Name", "string")],
    15: [("Area Length", "Log Area Length", "number"), ("Access Method", "Access Method", "word"),
         ("Header Format", "Log Header Format", "word"), ("Change Token", "Log Change Token", "number"),
         ("Supported Log Type Descriptors", "Number of Supported Log Type Descriptors", "number"),
         ("Descriptor", "Log Type", "item word"), ("Data Format", "Variable Data Format Type", "item word")],
    16: [("Location", "Location", "word"), ("Use", "Use", "word"),
         ("Error Correction Type", "Memory Error Correction", "word"),
         ("Maximum Capacity", ("Maximum Capacity", "Extended Maximum Capacity"), "capacity"),
         ("Error Information Handle", "Memory Error Information Handle", "handle"),
         ("Number Of Devices", "Number of Memory Devices", "number")],
    17: [("Array Handle", "Physical Memory Array Handle", "handle"),
         ("Error Information Handle", "Memory Error Information Handle", "handle"),
         ("Total Width", "Total Width", "number"), ("Data Width", "Data Width", "number"),
         ("Size", ("Size", "Extended Size"), "memory size"), ("Form Factor", "Form Factor", "word"),
         ("Set", "Device Set", "number"), ("Locator", "Device Locator", "string"),
         ("Bank Locator", "Bank Locator", "string"), ("Type", "Memory Type", "word"),
         ("Type Detail", ("Type Detail",), "joined bits"), ("Speed", ("Speed", "Extended Speed"), "speed"),
         ("Manufacturer", "Manufacturer", "string"), ("Serial Number", "Serial Number", "string"),
         ("Asset Tag", "Asset Tag", "string"), ("Part Number", "Part Number", "string"),
         ("Rank", "Attributes", "word"),
         ("Configured Memory Speed", ("Configured Memory Speed", "Extended Configured Memory Speed"), "speed"),
         ("Minimum Voltage", "Minimum Voltage", "number"), ("Maximum Voltage", "Maximum Voltage", "number"),
         ("Configured Voltage", "Configured Voltage", "number"), ("Memory Technology", "Memory Technology", "word"),
         ("Memory Operating Mode Capability", ("Memory Operating Mode Capability",), "bits"),
         ("Firmware Version", "Firmware Version", "string"), ("Non-Volatile Size", "Non-volatile Size", "number"),
         ("Volatile Size", "Volatile Size", "number"), ("Cache Size", "Cache Size", "number"),
         ("Logical Size", "Logical Size", "number")],
    18: [("Type", "Error Type", "word"), ("Granularity", "Error Granularity", "word"),
         ("Operation", "Error Operation", "word"), ("Vendor Syndrome", "Vendor Syndrome", "number"),
         ("Memory Array Address", "Memory Array Error Address", "number"),
         ("Device Address", "Device Error Address", "number"), ("Resolution", "Error Resolution", "number")],
    19: [("Physical Array Handle", "Memory Array Handle", "handle"), ("Partition Width", "Partition Width", "number")],
    20: [("Physical Device Handle", "Memory Device Handle", "handle"),
         ("Memory Array Mapped Address Handle", "Memory Array Mapped Address Handle", "handle"),
         ("Partition Row Position", "Partition Row Position", "number"),
         ("Interleave Position", "Interleave Position", "number"),
         ("Interleaved Data Depth", "Interleaved Data Depth", "number")],
    21: [("Type", "Type", "word"), ("Interface", "Interface", "word"), ("Buttons", "Number of Buttons", "number")],
    22: [("Location", "Location", "string"), ("Manufacturer", "Manufacturer", "string"),
         ("Manufacture Date", "Manufacture Date", "string"), ("Serial Number", "Serial Number", "string"),
         ("Name", "Device Name", "string"), ("Chemistry", "Device Chemistry", "word"),
         ("Design Capacity", "Design Capacity", "number"), ("Design Voltage", "Design Voltage", "number"),
         ("SBDS Version", "SBDS Version Number", "string"), ("Maximum Error", "Maximum Error in Battery Data", "number"),
         ("SBDS Chemistry", "SBDS Device Chemistry", "string"), ("OEM-specific Information", "OEM-specific", "number")],
    24: [("Power-On Password Status", "Power-on Password Status", "word"),
         ("Keyboard Password Status", "Keyboard Password Status", "word"),
         ("Administrator Password Status", "Administrator Password Status", "word"),
         ("Front Panel Reset Status", "Front Panel Reset Status", "word")],
    26: [("Description", "Description", "string"), ("Location", "Location and Status", ("part", 0)),
         ("Status", "Location and Status", ("part", 1)), ("Maximum Value", "Maximum Value", "number"),
         ("Minimum Value", "Minimum Value", "number"), ("Tolerance", "Tolerance", "number"),
         ("OEM-specific Information", "OEM-defined", "number"), ("Nominal Value", "Nominal Value", "number")],
    27: [("Temperature Probe Handle", "Temperature Probe Handle", "handle"),
         ("Type", "Device Type and Status", ("part", 0)), ("Status", "Device Type and Status", ("part", 1)),
         ("Cooling Unit Group", "Cooling Unit Group", "number"), ("OEM-specific Information", "OEM-defined", "number"),
         ("Nominal Speed", "Nominal Speed", "number"), ("Description", "Description", "string")],
    32: [("Status", "Boot Status", "word")],
    34: [("Description", "Description", "string"), ("Type", "Type", "word"), ("Address", "Address", "number"),
         ("Address Type", "Address Type", "word")],
    35: [("Description", "Description", "string"), ("Management Device Handle", "Management Device Handle", "handle"),
         ("Component Handle", "Component Handle", "handle"), ("Threshold Handle", "Threshold Handle", "handle")],
    36: [("Lower Non-critical Threshold", "Lower Threshold - Non-critical", "number"),
         ("Upper Non-critical Threshold", "Upper Threshold - Non-critical", "number"),
         ("Lower Critical Threshold", "Lower Threshold - Critical", "number"),
         ("Upper Critical Threshold", "Upper Threshold - Critical", "number"),
         ("Lower Non-recoverable Threshold", "Lower Threshold - Non-recoverable", "number"),
         ("Upper Non-recoverable Threshold", "Upper Threshold - Non-recoverable", "number")],
    37: [("Type", "Channel Type", "word"), ("Maximal Load", "Maximum Channel Load", "number"),
         ("Devices", "Memory Device Count", "number")],
    38: [("Interface Type", "Interface Type", "word"), ("Interrupt Number", "Interrupt Number", "number")],
    39: [("Power Unit Group", "Power Unit Group", "number"), ("Location", "Location", "string"),
         ("Name", "Device Name", "string"), ("Manufacturer", "Manufacturer", "string"),
         ("Serial Number", "Serial Number", "string"), ("Asset Tag", "Asset Tag Number", "string"),
         ("Model Part Number", "Model Part Number", "string"), ("Revision", "Revision Level", "string"),
         ("Max Power Capacity", "Max Power Capacity", "number"),
         ("Input Voltage Probe Handle", "Input Voltage Probe Handle", "handle"),
         ("Cooling Device Handle", "Cooling Device Handle", "handle"),
         ("Input Current Probe Handle", "Input Current Probe Handle", "handle")],
    41: [("Reference Designation", "Reference Designation", "string"), ("Type", "Device Type", ("part", 0)),
         ("Status", "Device Type", ("bit", "Enabled")), ("Type Instance", "Device Type Instance", "number")],
}
PAIRS[28] = PAIRS[29] = PAIRS[26]
PAIRS[33] = PAIRS[18]

# A number with its unit, as both print it; units scaled to one base each.
SCALE = {"bytes": 1, "kB": 1 << 10, "KB": 1 << 10, "MB": 1 << 20, "GB": 1 << 30, "TB": 1 << 40, "PB": 1 << 50,
         "V": 1000, "mV": 1, "A": 1000, "mA": 1, "MHz": 1, "GHz": 1000, "MT/s": 1, "ns": 1, "bits": 1, "W": 1,
         "mWh": 1, "rpm": 1, "%": 1, "U": 1, "deg": 1, "\u00b0C": 1}
NUMBER = re.compile(r"^(-?(?:0x[0-9A-Fa-f]+|\d+(?:\.\d+)?))\s*(\S+)?")
OUT_OF_SPEC = "<OUT OF SPEC>"


def number_of(text):
    """The value of "8 GB", "1.2 V", "0x000F0000", "2"; None for words."""
    match = NUMBER.match(text.strip())
    if not match:
        return None
    digits, unit = match.groups()
    value = int(digits, 16) if digits.lower().startswith("0x") else float(digits)
    unit = (unit or "").rstrip(",")
    return value * SCALE.get(unit, 1)


def printable(text):
    """dmidecode's reading of a string: control characters as ".", the ends trimmed; a number past the
    string set as dmidecode names it."""
    if re.fullmatch(r"string \d+ is past the string set", text):
        return "<BAD INDEX>"
    return "".join("." if ord(c) < 32 or ord(c) == 127 else c for c in text).strip()


def parse_dmidecode(path):
    """[(handle, type, {label: [values]})], a value a text or the list of lines beneath its label."""
    structures = []
    text = open(path, encoding="latin-1").read()
    for block in re.split(r"\n(?=Handle 0x)", text):
        head = re.match(r"Handle 0x([0-9A-F]{4}), DMI type (\d+), \d+ bytes", block)
        if not head:
            continue
        labels = collections.defaultdict(list)
        last = None
        for line in block.splitlines()[2:]:
            if line.startswith("\t\t") and last is not None:
                if isinstance(labels[last][-1], list):
                    labels[last][-1].append(line.strip())
                continue
            match = re.match(r"\t([^\t:][^:]*?):(?: (.*))?$", line)
            if not match:
                last = None
                continue
            label, value = match.group(1), match.group(2)
            numbered = re.match(r"(String|Option|Descriptor|Data Format) (\d+)$", label)
            if numbered:
                label = numbered.group(1)
            labels[label].append(value if value is not None else [])
            last = label
        structures.append((int(head.group(1), 16), int(head.group(2)), labels))
    return structures


def pair_structures(ours, theirs):
    """Our structures matched with dmidecode's in table order by handle and type."""
    pairs, at = [], 0
    for handle, kind, labels in theirs:
        for i in range(at, len(ours)):
            if ours[i]["handle"] == handle and ours[i]["type"] == kind:
                pairs.append((ours[i], labels))
                at = i + 1
                break
    return pairs


def field_of(structure, name, item=None):
    for field in structure["fields"]:
        if field["name"] == name and (item is None or field.get("item") == item):
            return field
    return None


def same_word(theirs, ours):
    if theirs == OUT_OF_SPEC:
        return ours.startswith("undefined")
    return theirs.strip().lower() == ours.strip().lower()


def same_number(theirs, ours):
    if not isinstance(theirs, str):
        return False
    a, b = number_of(theirs), number_of(ours)
    if a is None or b is None:
        return same_word(theirs, ours)
    return abs(a - b) <= 1e-6 * max(1.0, abs(a))


def compare(structure, label, values, field_names, how):
    """[(dmidecode's text, ours, agree)] for one label of one structure; [] when --decode has no such field."""
    kind = how if isinstance(how, str) else how[0]
    names = field_names if isinstance(field_names, tuple) else (field_names,)
    fields = [field_of(structure, name) for name in names]
    first = fields[0] if fields else None
    theirs = values[0] if values else None
    if kind == "strings":
        return [(value, structure["strings"][i] if i < len(structure["strings"]) else None,
                 i < len(structure["strings"]) and printable(value) == printable(structure["strings"][i]))
                for i, value in enumerate(values) if isinstance(value, str)]
    if kind.startswith("item"):
        out = []
        for i, value in enumerate(values):
            field = field_of(structure, names[0], i + 1)
            if field is None or not isinstance(value, str):
                continue
            if kind == "item string":
                out.append((value, field["text"], printable(value) == printable(field["text"])))
            elif kind == "item part":
                ours = (field.get("parts") or [field["text"]])[how[1]]
                out.append((value, ours, same_word(value, ours)))
            elif kind == "item bit":
                present = how[1] in field.get("bits", [])
                out.append((value, present, (value == "Enabled") == present))
            else:
                out.append((value, field["text"], same_word(value, field["text"])))
        return out
    if first is None or theirs is None:
        return []
    text = first["text"]
    if kind == "string":
        return [(theirs, text, printable(theirs) == printable(text))]
    if kind == "word":
        return [(theirs, text, same_word(theirs, text))]
    if kind == "number":
        return [(theirs, text, same_number(theirs, text))]
    if kind == "part":
        ours = (first.get("parts") or [text])[how[1]] if len(first.get("parts") or [text]) > how[1] else text
        return [(theirs, ours, same_word(theirs, ours))]
    if kind == "bit":
        present = how[1] in first.get("bits", [])
        return [(theirs, present, (theirs == "Present" or theirs == "Enabled") == present)]
    if kind == "handle":
        ours = text.split(" ")[0] if re.match(r"0x[0-9A-F]{4} \(", text) else text
        word = re.search(r"\((.*)\)$", text)
        agree = theirs == ours or (word is not None and same_word(theirs, word.group(1)))
        return [(theirs, text, agree)]
    if kind == "bits":
        ours = [bit for field in fields if field for bit in field.get("bits", [])]
        theirs_bits = values[0] if isinstance(values[0], list) else ([] if values[0] in ("None",) else [values[0]])
        return [("; ".join(theirs_bits), "; ".join(ours),
                 sorted(b.lower() for b in theirs_bits) == sorted(b.lower() for b in ours))]
    if kind == "joined bits":  # dmidecode's one line of words
        ours = " ".join(first.get("bits", [])) or text
        return [(theirs, ours, same_word(theirs, ours))]
    if kind == "release":
        if fields[1] is None:
            return []
        ours = "%d.%d" % (first["value"], fields[1]["value"])
        return [(theirs, ours, theirs == ours)]
    if kind == "id":  # dmidecode's bytes, as stored, and ours as the text reads them
        return [(theirs, text, theirs == text)]
    # The fields that a second one extends: the second where the first sends a reader to it.
    extended = fields[1] if len(fields) > 1 else None
    if kind == "family":
        ours = extended["text"] if extended and first["value"] == 0xFE else text
        return [(theirs, ours, same_word(theirs, ours))]
    if kind == "count":
        ours = extended["text"] if extended and first["value"] == 0xFF else text
        return [(theirs, ours, same_number(theirs, ours))]
    if kind in ("rom", "cache", "capacity", "memory size", "speed"):
        sends = {"rom": first["value"] == 0xFF, "cache": first["value"] == 0xFFFF or (extended is not None and first["value"] & 0x7FFF == 0x7FFF),
                 "capacity": first["value"] == 0x80000000, "memory size": first["value"] == 0x7FFF,
                 "speed": first["value"] == 0xFFFF}[kind]
        ours = extended["text"] if sends and extended else text
        return [(theirs, ours, same_number(theirs, ours))]
    raise ValueError(kind)


class Tally:
    """Fields compared against one reference: agreeing, explained by a row (its reason's first words), or not."""

    def __init__(self, reference, explained, used):
        self.reference, self.explained, self.used = reference, explained, used
        self.compared = self.agreeing = 0
        self.reasons, self.unexplained = collections.Counter(), collections.Counter()

    def add(self, agree, row):
        self.compared += 1
        if agree:
            self.agreeing += 1
        elif row in self.explained:
            self.reasons[self.explained[row].split(" (")[0]] += 1
            self.used.add(row)
        else:
            self.unexplained[row] += 1

    def report(self, title):
        """Prints the figures; the number of differences no row explains."""
        print(f"{title}: {self.compared} fields compared, {self.agreeing} agree, {sum(self.reasons.values())} "
              f"differ for a reason docs/decode.md gives, {sum(self.unexplained.values())} unexplained")
        for reason, count in self.reasons.most_common():
            print(f"  {count:5d}  {reason}")
        for (kind, label, their_text, our_text), count in sorted(self.unexplained.items()):
            print(f"unexplained: {count:4d} x type {kind} {label}: {self.reference} {their_text!r}, "
                  f"--decode {our_text!r}")
        return sum(self.unexplained.values())


DMI_MEMORY_ID = "/lib/udev/dmi_memory_id"
# dmi_memory_id's key: (--decode's field, the field that extends it where it says so, comparison).
MEMORY_KEYS = {
    "SIZE": ("Size", "Extended Size", "bytes"), "SPEED_MTS": ("Speed", "Extended Speed", "number"),
    "CONFIGURED_SPEED_MTS": ("Configured Memory Speed", "Extended Configured Memory Speed", "number"),
    "RANK": ("Attributes", None, "word"), "TOTAL_WIDTH": ("Total Width", None, "number"),
    "DATA_WIDTH": ("Data Width", None, "number"), "SET": ("Device Set", None, "number"),
    "FORM_FACTOR": ("Form Factor", None, "word"), "TYPE": ("Memory Type", None, "word"),
    "TYPE_DETAIL": ("Type Detail", None, "joined bits"), "MEMORY_TECHNOLOGY": ("Memory Technology", None, "word"),
    "LOCATOR": ("Device Locator", None, "string"), "BANK_LOCATOR": ("Bank Locator", None, "string"),
    "MANUFACTURER": ("Manufacturer", None, "string"), "SERIAL_NUMBER": ("Serial Number", None, "string"),
    "ASSET_TAG": ("Asset Tag", None, "string"), "PART_NUMBER": ("Part Number", None, "string"),
    "FIRMWARE_VERSION": ("Firmware Version", None, "string"), "VOLATILE_SIZE": ("Volatile Size", None, "bytes"),
}


def memory_devices(dump):
    """{device number: {key: value}} as dmi_memory_id prints them."""
    done = end_to_end.run([DMI_MEMORY_ID, "-F", dump], capture_output=True)
    devices = collections.defaultdict(dict)
    for line in done.stdout.decode("latin-1").splitlines():
        match = re.match(r"MEMORY_DEVICE_(\d+)_(\w+)=(.*)$", line)
        if match:
            devices[int(match.group(1))][match.group(2)] = match.group(3)
    return devices


def compare_memory(structure, key, theirs):
    """(ours, agree) for one of dmi_memory_id's keys; None where --decode has no such field."""
    name, extension, kind = MEMORY_KEYS[key]
    field, extended = field_of(structure, name), field_of(structure, extension) if extension else None
    if field is None:
        return None
    sends = {"Size": 0x7FFF, "Speed": 0xFFFF, "Configured Memory Speed": 0xFFFF}.get(name)
    if extended is not None and field["value"] == sends:
        field = extended
    text = field["text"]
    if kind == "bytes":
        return text, field.get("bytes") == int(theirs)
    if kind == "number":
        return text, same_number(theirs, text)
    if kind == "joined bits":
        ours = " ".join(field.get("bits", [])) or text
        return ours, same_word(theirs, ours)
    if kind == "word":
        return text, same_word(theirs, text)
    return text, printable(theirs) == printable(text)


def agree_with_dmi_memory_id(tarnwick, corpus, names, explained, used):
    """Prints the figures of the memory devices against dmi_memory_id; the number of unexplained differences."""
    tally = Tally("dmi_memory_id", explained, used)
    for name in names:
        dump = os.path.join(corpus, name + ".dump")
        done = end_to_end.run([tarnwick, "--decode", "--json", "--from-dump", dump, "17"], capture_output=True)
        ours = json.loads(done.stdout)
        for number, keys in memory_devices(dump).items():
            if number >= len(ours):
                tally.add(False, (17, "dmi_memory_id device", str(number), "no such memory device"))
                continue
            for key, theirs in keys.items():
                result = compare_memory(ours[number], key, theirs) if key in MEMORY_KEYS else None
                if result is not None:
                    tally.add(result[1], (17, "dmi_memory_id " + key, theirs.strip(), str(result[0]).strip()))
    return tally.report("memory devices against dmi_memory_id")


def explanations(decode_md):
    """{(type, label, dmidecode's text, ours): reason} from the rows of docs/decode.md's table of differences."""
    rows = {}
    for line in open(decode_md, encoding="utf-8"):
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) == 5 and re.fullmatch(r"\d+", cells[0]):
            theirs, ours = (c.strip("`") for c in cells[2:4])
            rows[(int(cells[0]), cells[1], theirs, ours)] = cells[4]
    return rows


def main():
    tarnwick, corpus, decode_md = sys.argv[1:4]
    if not os.path.isdir(corpus):
        print(f"corpus of real tables missing: {corpus}", file=sys.stderr)
        return 1 if end_to_end.IN_CI else 77
    explained = explanations(decode_md)
    used = set()
    tally = Tally("dmidecode", explained, used)
    names = sorted(f[:-len(".dmidecode.txt")] for f in os.listdir(corpus) if f.endswith(".dmidecode.txt"))
    for name in names:
        done = end_to_end.run([tarnwick, "--decode", "--json", "--from-dump", os.path.join(corpus, name + ".dump")],
                              capture_output=True)
        ours = json.loads(done.stdout)
        theirs = parse_dmidecode(os.path.join(corpus, name + ".dmidecode.txt"))
        for structure, labels in pair_structures(ours, theirs):
            for label, field_names, how in PAIRS.get(structure["type"], []):
                for their_text, our_text, agree in compare(structure, label, labels.get(label, []), field_names, how):
                    tally.add(agree, (structure["type"], label, str(their_text).strip(), str(our_text).strip()))
    unexplained = tally.report(f"{len(names)} tables")
    memory_unexplained = 0
    if os.path.exists(DMI_MEMORY_ID) or end_to_end.IN_CI:
        memory_unexplained = agree_with_dmi_memory_id(tarnwick, corpus, names, explained, used)
    else:
        print(f"memory devices against dmi_memory_id: skipped, {DMI_MEMORY_ID} is missing (Debian's udev)")
        used |= {key for key in explained if key[1].startswith("dmi_memory_id")}
    for key in sorted(set(explained) - used):
        print("a row of docs/decode.md that no difference needs:", key)
    return 1 if unexplained or memory_unexplained or set(explained) - used else 0


if __name__ == "__main__":
    sys.exit(main())
