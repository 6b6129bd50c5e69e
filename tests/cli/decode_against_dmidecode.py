"""tarnwick --decode judged field by field against dmidecode 3.4's decoding of the corpus (NAME.dmidecode.txt,
structures paired in table order), then the memory devices against systemd's dmi_memory_id (Debian's udev).
Every difference must be a row of docs/decode.md's table, with its reason; prints the fields compared,
agreeing and explained by reason; fails on a difference no row explains and on a row no difference needs.

    decode_against_dmidecode.py TARNWICK CORPUS_DIR DECODE_MD
"""
import collections
import json
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import end_to_end  # noqa: E402

# By type, "label[=field[+field...]][>sends][|kind]" joined by ";": dmidecode's label, --decode's field where its
# name differs, a field that extends it where the first holds one of the hexadecimal values `sends`. Kinds:
# s string (where none is given), w word, n number with its unit, h handle, b names of the bits set (of every
# field), j those names on one line, r release (major.minor), pN part N of a field of bit fields, "bit:NAME" that
# bit, S the strings; a kind after "i" compares each item of a variable part.
PAIRS = {
    0: "Vendor; Version=BIOS Version; Release Date=BIOS Release Date; Address=BIOS Starting Address Segment|w;"
       " ROM Size=BIOS ROM Size+Extended BIOS ROM Size>FF|n;"
       " Characteristics=BIOS Characteristics+BIOS Characteristics Extension Byte 1"
       "+BIOS Characteristics Extension Byte 2|b;"
       " BIOS Revision=System BIOS Major Release+System BIOS Minor Release|r;"
       " Firmware Revision=Embedded Controller Firmware Major Release+Embedded Controller Firmware Minor Release|r",
    1: "Manufacturer; Product Name; Version; Serial Number; UUID|w; Wake-up Type|w; SKU Number; Family",
    2: "Manufacturer; Product Name=Product; Version; Serial Number; Asset Tag; Features=Feature Flags|b;"
       " Location In Chassis=Location in Chassis; Chassis Handle|h; Type=Board Type|w;"
       " Contained Object Handles=Number of Contained Object Handles|n",
    3: "Manufacturer; Type|p0; Lock=Type|bit:Chassis lock is present; Version; Serial Number;"
       " Asset Tag=Asset Tag Number; Boot-up State|w; Power Supply State|w; Thermal State|w; Security Status|w;"
       " OEM Information=OEM-defined|n; Height|n; Number Of Power Cords=Number of Power Cords|n;"
       " Contained Elements=Contained Element Count|n; SKU Number",
    4: "Socket Designation; Type=Processor Type|w; Family=Processor Family+Processor Family 2>FE|w;"
       " Manufacturer=Processor Manufacturer; ID=Processor ID; Version=Processor Version; Voltage|n; External Clock|n;"
       " Max Speed|n; Current Speed|n; Upgrade=Processor Upgrade|w; L1 Cache Handle|h; L2 Cache Handle|h;"
       " L3 Cache Handle|h; Serial Number; Asset Tag; Part Number; Core Count=Core Count+Core Count 2>FF|n;"
       " Core Enabled=Core Enabled+Core Enabled 2>FF|n; Thread Count=Thread Count+Thread Count 2>FF|n;"
       " Characteristics=Processor Characteristics|b",
    7: "Socket Designation; Operational Mode=Cache Configuration|p2; Location=Cache Configuration|p1;"
       " Installed Size=Installed Size+Installed Cache Size 2>7FFF,FFFF|n;"
       " Maximum Size=Maximum Cache Size+Maximum Cache Size 2>7FFF,FFFF|n; Supported SRAM Types=Supported SRAM Type|b;"
       " Speed=Cache Speed|n; Error Correction Type|w; System Type=System Cache Type|w; Associativity|w",
    8: "Internal Reference Designator; Internal Connector Type|w; External Reference Designator;"
       " External Connector Type|w; Port Type|w",
    9: "Designation=Slot Designation; Current Usage|w; Length=Slot Length|w; ID=Slot ID|n;"
       " Characteristics=Slot Characteristics 1+Slot Characteristics 2|b",
    10: "Type=Device Type|ip0; Status=Device Type|ibit:Enabled; Description=Description String|is",
    11: "String|S", 12: "Option|S",
    13: "Installable Languages|n; Currently Installed Language=Current Language",
    14: "Name=Group Name",
    15: "Area Length=Log Area Length|n; Access Method|w; Header Format=Log Header Format|w;"
        " Change Token=Log Change Token|n; Supported Log Type Descriptors=Number of Supported Log Type Descriptors|n;"
        " Descriptor=Log Type|iw; Data Format=Variable Data Format Type|iw",
    16: "Location|w; Use|w; Error Correction Type=Memory Error Correction|w;"
        " Maximum Capacity=Maximum Capacity+Extended Maximum Capacity>80000000|n;"
        " Error Information Handle=Memory Error Information Handle|h; Number Of Devices=Number of Memory Devices|n",
    17: "Array Handle=Physical Memory Array Handle|h; Error Information Handle=Memory Error Information Handle|h;"
        " Total Width|n; Data Width|n; Size=Size+Extended Size>7FFF|n; Form Factor|w; Set=Device Set|n;"
        " Locator=Device Locator; Bank Locator; Type=Memory Type|w; Type Detail|j; Speed=Speed+Extended Speed>FFFF|n;"
        " Manufacturer; Serial Number; Asset Tag; Part Number; Rank=Attributes|n;"
        " Configured Memory Speed=Configured Memory Speed+Extended Configured Memory Speed>FFFF|n; Minimum Voltage|n;"
        " Maximum Voltage|n; Configured Voltage|n; Memory Technology|w; Memory Operating Mode Capability|b;"
        " Firmware Version; Non-Volatile Size=Non-volatile Size|n; Volatile Size|n; Cache Size|n; Logical Size|n",
    18: "Type=Error Type|w; Granularity=Error Granularity|w; Operation=Error Operation|w; Vendor Syndrome|n;"
        " Memory Array Address=Memory Array Error Address|n; Device Address=Device Error Address|n;"
        " Resolution=Error Resolution|n",
    19: "Physical Array Handle=Memory Array Handle|h; Partition Width|n",
    20: "Physical Device Handle=Memory Device Handle|h; Memory Array Mapped Address Handle|h;"
        " Partition Row Position|n; Interleave Position|n; Interleaved Data Depth|n",
    21: "Type|w; Interface|w; Buttons=Number of Buttons|n",
    22: "Location; Manufacturer; Manufacture Date; Serial Number; Name=Device Name; Chemistry=Device Chemistry|w;"
        " Design Capacity|n; Design Voltage|n; SBDS Version=SBDS Version Number;"
        " Maximum Error=Maximum Error in Battery Data|n; SBDS Chemistry=SBDS Device Chemistry;"
        " OEM-specific Information=OEM-specific|n",
    24: "Power-On Password Status=Power-on Password Status|w; Keyboard Password Status|w;"
        " Administrator Password Status|w; Front Panel Reset Status|w",
    26: "Description; Location=Location and Status|p0; Status=Location and Status|p1; Maximum Value|n;"
        " Minimum Value|n; Tolerance|n; OEM-specific Information=OEM-defined|n; Nominal Value|n",
    27: "Temperature Probe Handle|h; Type=Device Type and Status|p0; Status=Device Type and Status|p1;"
        " Cooling Unit Group|n; OEM-specific Information=OEM-defined|n; Nominal Speed|n; Description",
    32: "Status=Boot Status|w",
    34: "Description; Type|w; Address|n; Address Type|w",
    35: "Description; Management Device Handle|h; Component Handle|h; Threshold Handle|h",
    36: "; ".join(f"{end} {level} Threshold={end} Threshold - {level}|n"
                  for level in ("Non-critical", "Critical", "Non-recoverable") for end in ("Lower", "Upper")),
    37: "Type=Channel Type|w; Maximal Load=Maximum Channel Load|n; Devices=Memory Device Count|n",
    38: "Interface Type|w; Interrupt Number|n",
    39: "Power Unit Group|n; Location; Name=Device Name; Manufacturer; Serial Number; Asset Tag=Asset Tag Number;"
        " Model Part Number; Revision=Revision Level; Max Power Capacity|n; Input Voltage Probe Handle|h;"
        " Cooling Device Handle|h; Input Current Probe Handle|h",
    41: "Reference Designation; Type=Device Type|p0; Status=Device Type|bit:Enabled;"
        " Type Instance=Device Type Instance|n",
}
PAIRS[28] = PAIRS[29] = PAIRS[26]
PAIRS[33] = PAIRS[18]
# dmi_memory_id's keys in the same form; B a size in bytes.
MEMORY = ("SIZE=Size+Extended Size>7FFF|B; SPEED_MTS=Speed+Extended Speed>FFFF|n;"
          " CONFIGURED_SPEED_MTS=Configured Memory Speed+Extended Configured Memory Speed>FFFF|n; RANK=Attributes|n;"
          " TOTAL_WIDTH=Total Width|n; DATA_WIDTH=Data Width|n; SET=Device Set|n; FORM_FACTOR=Form Factor|w;"
          " TYPE=Memory Type|w; TYPE_DETAIL=Type Detail|j; MEMORY_TECHNOLOGY=Memory Technology|w;"
          " LOCATOR=Device Locator; BANK_LOCATOR=Bank Locator; MANUFACTURER=Manufacturer; SERIAL_NUMBER=Serial Number;"
          " ASSET_TAG=Asset Tag; PART_NUMBER=Part Number; FIRMWARE_VERSION=Firmware Version;"
          " VOLATILE_SIZE=Volatile Size|B")
DMI_MEMORY_ID = "/lib/udev/dmi_memory_id"


def entries(text):
    """[(label, (fields), (sending values), kind)] of one line of PAIRS."""
    out = []
    for entry in filter(None, (e.strip() for e in text.split(";"))):
        named, _, kind = entry.partition("|")
        named, _, sends = named.partition(">")
        label, _, fields = named.partition("=")
        sends = {int(v, 16) for v in sends.split(",") if v}
        out.append((label, tuple((fields or label).split("+")), sends, kind or "s"))
    return out


SCALE = {"kB": 1 << 10, "KB": 1 << 10, "MB": 1 << 20, "GB": 1 << 30, "TB": 1 << 40, "PB": 1 << 50, "V": 1000,
         "A": 1000, "GHz": 1000}  # every other unit counts as its base
NUMBER = re.compile(r"(-?(?:0x[0-9A-Fa-f]+|\d+(?:\.\d+)?))\s*([^\s,]*)")  # "8 GB", "1.2 V", "0x000F0000", "2 ranks"


def same(kind, theirs, ours):
    """A string as dmidecode prints it (control characters as ".", the ends trimmed, a bad number its way); a number
    with its unit by value; else a word whatever its case, or an undefined value where dmidecode says so."""
    if kind == "s":
        clean = ["<BAD INDEX>" if re.fullmatch(r"string \d+ is past the string set", t) else
                 "".join("." if ord(c) < 32 or ord(c) == 127 else c for c in t).strip() for t in (theirs, ours)]
        return clean[0] == clean[1]
    numbers = [NUMBER.match(t.strip()) for t in (theirs, ours)]
    if kind == "n" and all(numbers):
        a, b = ((int(m[1], 16) if m[1].lower().startswith("0x") else float(m[1])) * SCALE.get(m[2], 1) for m in numbers)
        return abs(a - b) <= 1e-6 * max(1.0, abs(a))
    return ours.startswith("undefined") if theirs == "<OUT OF SPEC>" else theirs.strip().lower() == ours.strip().lower()


def judge(theirs, fields, sends, kind):
    """(dmidecode's text, what --decode reads, agree) for one field; None where nothing compares."""
    first = fields[0]
    if kind == "b":
        ours = [bit for field in fields if field for bit in field.get("bits", [])]
        theirs = theirs if isinstance(theirs, list) else [] if theirs == "None" else [theirs]
        return "; ".join(theirs), "; ".join(ours), sorted(map(str.lower, theirs)) == sorted(map(str.lower, ours))
    if first is None or not isinstance(theirs, str):
        return None
    if kind == "r":
        ours = None if fields[1] is None else "%d.%d" % (first["value"], fields[1]["value"])
        return None if ours is None else (theirs, ours, theirs == ours)
    if len(fields) > 1 and fields[1] and first["value"] in sends:
        first = fields[1]
    text, parts = first["text"], first.get("parts") or [first["text"]]
    if kind.startswith("bit:"):
        present = kind[4:] in first.get("bits", [])
        return theirs, present, (theirs in ("Present", "Enabled")) == present
    if kind == "h":
        word = re.search(r"\((.*)\)$", text)
        return theirs, text, theirs == text.split(" ")[0] or (word is not None and same("w", theirs, word.group(1)))
    if kind == "B":
        return theirs, text, first.get("bytes") == int(theirs)
    ours = text
    if kind == "j":
        ours = " ".join(first.get("bits", [])) or text
    elif kind[0] == "p" and len(parts) > int(kind[1:]):
        ours = parts[int(kind[1:])]
    return theirs, ours, same(kind, theirs, ours)


def compare(structure, values, names, sends, kind):
    """[(dmidecode's text, ours, agree)] for one label's values in one structure."""
    def field_of(name, item=None):
        return next((f for f in structure["fields"] if f["name"] == name and (item is None or f.get("item") == item)),
                    None)
    if kind == "S":
        strings = structure["strings"]
        return [(v, strings[i] if i < len(strings) else None, i < len(strings) and same("s", v, strings[i]))
                for i, v in enumerate(values) if isinstance(v, str)]
    if kind.startswith("i"):  # one value per item
        found = [judge(v, (field_of(names[0], i + 1),), sends, kind[1:]) for i, v in enumerate(values)]
    else:
        found = [judge(values[0], [field_of(n) for n in names], sends, kind)] if values else []
    return [judged for judged in found if judged is not None]


def parse_dmidecode(path):
    """[(handle, type, {label: [values]})]; a value is a text, or the list of the lines beneath its label."""
    structures = []
    for block in re.split(r"\n(?=Handle 0x)", open(path, encoding="latin-1").read()):
        head = re.match(r"Handle 0x([0-9A-F]{4}), DMI type (\d+), \d+ bytes", block)
        labels, last = collections.defaultdict(list), None
        for line in block.splitlines()[2:] if head else []:
            match = re.match(r"\t([^\t:][^:]*?):(?: (.*))?$", line)
            if line.startswith("\t\t") and last is not None:
                if isinstance(labels[last][-1], list):
                    labels[last][-1].append(line.strip())
            elif match:
                last = re.sub(r"^(String|Option|Descriptor|Data Format) \d+$", r"\1", match.group(1))
                labels[last].append(match.group(2) if match.group(2) is not None else [])
            else:
                last = None
        if head:
            structures.append((int(head.group(1), 16), int(head.group(2)), labels))
    return structures


class Tally(collections.Counter):
    """(type, label, reference's text, ours) of each difference, counted; `agreeing` those that agree."""
    agreeing = 0

    def add(self, kind, label, theirs, ours, agree):
        if agree:
            self.agreeing += 1
        else:
            self[(kind, label, str(theirs).strip(), str(ours).strip())] += 1

    def report(self, title, reference, explained, used):
        """Prints the figures; the number of differences no row explains."""
        reasons = collections.Counter()
        for row, count in self.items():
            if row in explained:
                reasons[explained[row].split(" (")[0]] += count
                used.add(row)
        unexplained = {row: count for row, count in self.items() if row not in explained}
        compared = self.agreeing + sum(self.values())
        print(f"{title}: {compared} fields compared, {self.agreeing} agree, {sum(reasons.values())} "
              f"differ for a reason docs/decode.md gives, {sum(unexplained.values())} unexplained")
        for reason, count in reasons.most_common():
            print(f"  {count:5d}  {reason}")
        for (kind, label, theirs, ours), count in sorted(unexplained.items()):
            print(f"unexplained: {count:4d} x type {kind} {label}: {reference} {theirs!r}, --decode {ours!r}")
        return sum(unexplained.values())


def main():
    tarnwick, corpus, decode_md = sys.argv[1:4]
    end_to_end.need_or_exit(os.path.isdir(corpus), f"the corpus of tables ({corpus})")
    explained = {}  # (type, label, dmidecode's text, ours): reason, from docs/decode.md's table of differences
    for line in open(decode_md, encoding="utf-8"):
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) == 5 and cells[0].isdigit():
            explained[(int(cells[0]), cells[1], cells[2].strip("`"), cells[3].strip("`"))] = cells[4]
    used, tally, memory = set(), Tally(), Tally()
    has_dmi_memory_id = os.path.exists(DMI_MEMORY_ID) or end_to_end.IN_CI
    names = sorted(f[:-len(".dmidecode.txt")] for f in os.listdir(corpus) if f.endswith(".dmidecode.txt"))
    for name in names:
        dump = os.path.join(corpus, name + ".dump")
        ours = json.loads(end_to_end.run([tarnwick, "--decode", "--json", "--from-dump", dump],
                                         capture_output=True).stdout)
        at = 0  # dmidecode's structures paired with ours in table order, by handle and type
        for handle, kind, labels in parse_dmidecode(os.path.join(corpus, name + ".dmidecode.txt")):
            i = next((i for i in range(at, len(ours)) if (ours[i]["handle"], ours[i]["type"]) == (handle, kind)), None)
            if i is None:
                continue
            at = i + 1
            for label, fields, sends, how in entries(PAIRS.get(kind, "")):
                for theirs, ours_text, agree in compare(ours[i], labels.get(label, []), fields, sends, how):
                    tally.add(kind, label, theirs, ours_text, agree)
        if not has_dmi_memory_id:
            continue
        devices = collections.defaultdict(dict)  # dmi_memory_id's devices, in table order
        output = end_to_end.run([DMI_MEMORY_ID, "-F", dump], capture_output=True).stdout.decode("latin-1")
        for number, key, value in re.findall(r"^MEMORY_DEVICE_(\d+)_(\w+)=(.*)$", output, re.M):
            devices[int(number)][key] = value
        memory_devices = [s for s in ours if s["type"] == 17]
        for number, keys in devices.items():
            if number >= len(memory_devices):
                memory.add(17, "dmi_memory_id device", number, "no such memory device", False)
                continue
            for key, fields, sends, how in entries(MEMORY):
                for theirs, ours_text, agree in compare(memory_devices[number], [keys[key]] if key in keys else [],
                                                        fields, sends, how):
                    memory.add(17, "dmi_memory_id " + key, theirs, ours_text, agree)
    unexplained = tally.report(f"{len(names)} tables", "dmidecode", explained, used)
    if has_dmi_memory_id:
        unexplained += memory.report("memory devices against dmi_memory_id", "dmi_memory_id", explained, used)
    else:
        print(f"memory devices against dmi_memory_id: skipped, {DMI_MEMORY_ID} is missing (Debian's udev)")
        used |= {row for row in explained if row[1].startswith("dmi_memory_id")}
    for row in sorted(set(explained) - used):
        print("a row of docs/decode.md that no difference needs:", row)
    return 1 if unexplained or set(explained) - used else 0


if __name__ == "__main__":
    sys.exit(main())
