"""The names a VBA module takes from its host: every name it uses that it does not declare
itself and that is not a word or function of the language (VBScript's share of VBA).
Prints them, one a line, sorted.

    python3 tests/e2e/macro_host_names.py corel/macro/Ver001.bas
"""
import re
import sys

# The language's own words and the functions and constants of its runtime that the macro
# may use; a name of the host must never be added here.
LANGUAGE = """
    And As Attribute Call Case Const Dim Do Each Else ElseIf Empty End Err Error Exit
    Explicit False For Function Get If In Is Let Loop Me Mod Next Not Nothing Null On Option
    Or Preserve Private Property Public ReDim Resume Select Set Step Sub Then To True Until
    Wend While With Xor
    Abs Array Asc CBool CDbl CInt CLng CStr Chr CreateObject Fix Hex InStr InStrRev Int
    IsArray IsEmpty IsNull IsNumeric IsObject Join LCase Left Len Mid MsgBox Replace Right
    Round Sgn Space Split String Trim TypeName UBound UCase
    vbCrLf vbLf vbCr vbTab
""".split()

DECLARING = re.compile(r"^\s*(?:(?:Public|Private)\s+)?(Dim|Const|Sub|Function)\s+(.*)$", re.I)
MODULE_VARIABLE = re.compile(r"^\s*(?:Public|Private)\s+(?!Sub\b|Function\b|Const\b)(.*)$", re.I)


def code_lines(text):
    """Logical lines without comments and string literals, continuations joined."""
    lines, pending = [], ""
    for raw in text.splitlines():
        line, out, quoted, i = raw, "", False, 0
        while i < len(line):
            c = line[i]
            if quoted:
                if c == '"' and line[i + 1:i + 2] == '"':
                    i += 1
                elif c == '"':
                    quoted = False
                    out += '""'
            elif c == '"':
                quoted = True
            elif c == "'":
                break
            else:
                out += c
            i += 1
        if out.rstrip().endswith(" _"):
            pending += out.rstrip()[:-1] + " "
            continue
        lines.append(pending + out)
        pending = ""
    return lines


def declared(lines):
    names = set()
    for line in lines:
        m = DECLARING.match(line) or MODULE_VARIABLE.match(line)
        if not m:
            continue
        rest = m.group(m.lastindex)
        if m.re is DECLARING and m.group(1).lower() in ("sub", "function"):
            head = re.match(r"(\w+)\s*(?:\((.*?)\))?", rest)
            names.add(head.group(1).lower())
            for parameter in (head.group(2) or "").split(","):
                if parameter.strip():
                    names.add(parameter.split()[-1].lower())
            continue
        for part in rest.split(","):
            word = re.match(r"\s*(\w+)", part)
            if word:
                names.add(word.group(1).lower())
    return names


def main():
    lines = code_lines(open(sys.argv[1], encoding="ascii").read())
    own = declared(lines) | {w.lower() for w in LANGUAGE}
    used = set()
    for line in lines:
        if re.match(r"^\s*Attribute\b", line):
            continue
        for m in re.finditer(r"(?<![\w.])\s*([A-Za-z_]\w*)", line):
            start = m.start(1)
            if line[:start].rstrip().endswith("."):
                continue
            if re.match(r"&H", line[start - 2:start], re.I):
                continue
            if m.group(1).lower() not in own:
                used.add(m.group(1))
    for name in sorted(used):
        print(name)


main()
