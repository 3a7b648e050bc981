#!/usr/bin/env python3
"""The build's refusal of broken content, one case per rule.

Each case copies the real content, makes one edit and runs embed_content on
the copy. A "bad" case passes only if the tool exits with status 1, writes no
output, and prints exactly the expected problems ("file:line[:column]: …"),
in order. A "good" case makes an edit at the edge of a rule (a description of
exactly 485 characters) and passes only if the tool accepts it.

    content_cases.py list
    content_cases.py run <case> <embed_content> <content-dir> <work-dir>
"""

import os
import re
import shutil
import subprocess
import sys

FILES = ("title.txt", "introduction.txt", "entries.txt", "other-openings.txt")


class Content:
    """The content files as text, with helpers for the edits."""

    def __init__(self, directory):
        self.raw = {}
        for name in FILES:
            with open(os.path.join(directory, name), "rb") as f:
                self.raw[name] = f.read()

    def text(self, name):
        return self.raw[name].decode("utf-8")

    def set_text(self, name, text):
        self.raw[name] = text.encode("utf-8")

    def lines(self, name):
        return self.text(name).split("\n")[:-1]

    def set_lines(self, name, lines):
        self.set_text(name, "".join(line + "\n" for line in lines))

    def entries(self):
        return [tuple(line.split("|")) for line in self.lines("entries.txt")]

    def set_entries(self, entries):
        self.set_lines("entries.txt", [name + "|" + description for name, description in entries])

    def entry_line(self, name):
        """The line number of the entry with this name."""
        for number, (entry_name, _) in enumerate(self.entries(), 1):
            if entry_name == name:
                return number
        raise KeyError(name)

    def edit_entry(self, name, edit):
        """Replaces the entry's (name, description) by edit(name, description)."""
        entries = self.entries()
        number = self.entry_line(name)
        entries[number - 1] = edit(*entries[number - 1])
        self.set_entries(entries)
        return number

    def replace(self, name, old, new):
        text = self.text(name)
        if text.count(old) != 1:
            raise AssertionError(f"{name}: {old!r} occurs {text.count(old)} times, not once")
        self.set_text(name, text.replace(old, new))

    def paragraph(self, number):
        return self.lines("introduction.txt")[number - 1]

    def set_paragraph(self, number, text):
        lines = self.lines("introduction.txt")
        lines[number - 1] = text
        self.set_lines("introduction.txt", lines)


def column(line, index):
    """The 1-based column of a character of a line."""
    assert 0 <= index < len(line) + 1
    return index + 1


def entry_column(content, number, index_in_description):
    name, _ = content.entries()[number - 1]
    return len(name) + 1 + index_in_description + 1


def renamed(name, new_name):
    """An edit that renames an entry and the opening of its description."""

    def edit(old_name, description):
        assert description.startswith(old_name.rstrip(" "))
        return new_name, new_name.rstrip(" ") + description[len(old_name.rstrip(" ")):]

    return edit


def with_description(text):
    return lambda name, _: (name, text)


def description_of_length(content, name, length):
    """A description of exactly length characters that keeps every other rule."""
    _, description = content.entries()[content.entry_line(name) - 1]
    opening = re.match(r"[^(:]*\([^)]*\) - ", description).group(0)
    filler = length - len(opening) - 1
    assert filler > 0
    return opening + "а" * filler + "."


CASES = {}


def case(kind):
    def register(function):
        CASES[function.__name__.replace("_", "-")] = (kind, function)
        return function

    return register


bad = case("bad")
good = case("good")

# Each bad case edits the content and returns the problems it expects:
# (where, what) pairs, "where" the file with line and column, "what" words
# the message must hold.

# --- the files as text: UTF-8, the code page, line breaks


@bad
def letter_not_in_code_page(c):
    number = c.entry_line("Георги Бенковски")
    _, description = c.entries()[number - 1]
    at = description.index(" роден ") + 1
    c.edit_entry("Георги Бенковски", lambda n, d: (n, d[:at] + "ѝ " + d[at:]))
    return [(f"entries.txt:{number}:{entry_column(c, number, at)}",
             "the description of „Георги Бенковски“: U+045D CYRILLIC SMALL LETTER I WITH GRAVE has no "
             "Windows-1251 form")]


@bad
def decomposed_letter(c):
    # "й" as "и" and a combining breve, as some systems save it.
    text = c.paragraph(2)
    at = text.index("й")
    c.set_paragraph(2, text[:at] + "и\u0306" + text[at + 1:])
    return [(f"introduction.txt:2:{column(text, at + 1)}", "U+0306 COMBINING BREVE has no Windows-1251 form")]


@bad
def zero_width_space(c):
    c.set_text("title.txt", "Калв\u200bетор\n")
    return [("title.txt:1:5", "U+200B ZERO WIDTH SPACE has no Windows-1251 form")]


@bad
def file_saved_as_windows_1251(c):
    c.raw["entries.txt"] = c.text("entries.txt").encode("cp1251")
    lines = c.raw["entries.txt"].split(b"\n")[:-1]
    expected = [(f"entries.txt:{n}:1", f"the text is not UTF-8 here (0x{line[0]:02X}); save the file as UTF-8")
                for n, line in enumerate(lines[:5], 1)]
    return expected + [("entries.txt", f"{len(lines) - 5} more problems of the kind above are not shown")]


@bad
def stray_continuation_byte(c):
    c.raw["title.txt"] = "Калв".encode() + b"\x80" + "етор\n".encode()
    return [("title.txt:1:5", "the text is not UTF-8 here (0x80)")]


@bad
def cut_short_character(c):
    c.raw["title.txt"] = "Калв".encode() + b"\xD0 " + "етор\n".encode()
    return [("title.txt:1:5", "the text is not UTF-8 here (0xD0)")]


@bad
def encoded_surrogate(c):
    c.raw["title.txt"] = "Калв".encode() + b"\xED\xA0\x80" + "етор\n".encode()
    return [("title.txt:1:5", "the text is not UTF-8 here (0xED 0xA0)")]


@bad
def overlong_form(c):
    c.raw["title.txt"] = "Калв".encode() + b"\xE0\x80\xAE" + "етор\n".encode()
    return [("title.txt:1:5", "the text is not UTF-8 here (0xE0 0x80)")]


@bad
def character_beyond_the_basic_plane(c):
    c.set_text("title.txt", "Калветор\U0001F4D6\n")
    return [("title.txt:1:9", "U+1F4D6 has no Windows-1251 form")]


@bad
def value_past_unicode(c):
    c.raw["title.txt"] = "Калв".encode() + b"\xF4\x90\x80\x80" + "етор\n".encode()
    return [("title.txt:1:5", "the text is not UTF-8 here (0xF4 0x90)")]


@bad
def byte_order_mark(c):
    c.raw["entries.txt"] = b"\xEF\xBB\xBF" + c.raw["entries.txt"]
    return [("entries.txt:1:1", "the file begins with a byte order mark (BOM); save it as UTF-8 without BOM")]


@bad
def no_line_break_at_the_end(c):
    lines = len(c.entries())
    c.raw["entries.txt"] = c.raw["entries.txt"][:-1]
    return [(f"entries.txt:{lines}", "the last line has no line break at its end")]


@bad
def empty_line_between_paragraphs(c):
    lines = c.lines("introduction.txt")
    c.set_lines("introduction.txt", lines[:2] + [""] + lines[2:])
    return [("introduction.txt:3", "an empty line; each line is one paragraph")]


@bad
def empty_line_at_the_end(c):
    c.set_text("entries.txt", c.text("entries.txt") + "\n")
    return [(f"entries.txt:{len(c.entries())}", "an empty line; each line is one entry, so remove it")]


@bad
def control_character(c):
    number = c.entry_line("Найден Геров")
    _, description = c.entries()[number - 1]
    at = description.index(" ", 40)
    c.edit_entry("Найден Геров", lambda n, d: (n, d[:at] + "\t" + d[at + 1:]))
    return [(f"entries.txt:{number}:{entry_column(c, number, at)}",
             "the description of „Найден Геров“: U+0009 CHARACTER TABULATION is a control character")]


@bad
def windows_line_breaks(c):
    c.set_text("title.txt", c.text("title.txt").replace("\n", "\r\n"))
    return [("title.txt:1:9", "the line ends in a carriage return (a Windows line break)")]


@bad
def missing_file(c):
    del c.raw["other-openings.txt"]
    return [("other-openings.txt", "cannot be read")]


# --- bars: one between a name and its text, none elsewhere


@bad
def stray_bar_in_the_introduction(c):
    text = c.paragraph(2)
    at = text.index(" ", 10)
    c.set_paragraph(2, text[:at] + " |" + text[at:])
    return [(f"introduction.txt:2:{at + 2}", "a stray „|“")]


@bad
def stray_bar_in_the_title(c):
    c.set_text("title.txt", "Калветор|\n")
    return [("title.txt:1:9", "a stray „|“"), ("title.txt:1:9", "the title is the program's name")]


@bad
def second_bar_in_an_entry(c):
    number = c.entry_line("Захари Стоянов")
    _, description = c.entries()[number - 1]
    at = description.index(" ", 60)
    where = f"entries.txt:{number}:{entry_column(c, number, at + 1)}"
    c.edit_entry("Захари Стоянов", lambda n, d: (n, d[:at] + " |" + d[at:]))
    return [(where, "a second „|“")]


@bad
def description_broken_onto_a_new_line(c):
    entries = c.entries()
    number = c.entry_line("Любен Каравелов")
    name, description = entries[number - 1]
    at = description.rindex(". ") + 1
    lines = c.lines("entries.txt")
    lines[number - 1:number] = [name + "|" + description[:at], description[at + 1:]]
    c.set_lines("entries.txt", lines)
    return [(f"entries.txt:{number + 1}", "no „|“ on this line"),
            (f"entries.txt:{len(entries) + 1}", f"entry {len(entries) + 1} is one too many")]


@bad
def missing_name(c):
    number = c.entry_line("Найден Геров")
    c.edit_entry("Найден Геров", lambda n, d: ("", d))
    return [(f"entries.txt:{number}:1", "the name before „|“ is missing")]


@bad
def missing_description(c):
    number = c.entry_line("Найден Геров")
    c.edit_entry("Найден Геров", lambda n, d: (n, ""))
    return [(f"entries.txt:{number}:{len('Найден Геров') + 2}", "the description after „|“ is missing")]


# --- the list: 24 entries, their names, their order


@bad
def entry_missing(c):
    entries = c.entries()
    c.set_entries(entries[:-1])
    return [(f"entries.txt:{len(entries) - 1}", f"the entries end after {len(entries) - 1}; the catalogue "
                                               f"holds exactly {len(entries)} entries")]


@bad
def entry_too_many(c):
    entries = c.entries()
    venelin = ("Юрий Венелин", "Юрий Венелин (1802-1839) - историк и славист, роден в Закарпатието. Книгата му "
               "„Старите и сегашните българи“ (1829) събужда интереса към българската история и подтиква Васил "
               "Априлов да се посвети на българската просвета. Умира в Москва.")
    c.set_entries(entries + [venelin])
    return [(f"entries.txt:{len(entries) + 1}", f"entry {len(entries) + 1} is one too many")]


def simeon(length):
    return "Цар Симеон" + "а" * (length - len("Цар Симеон"))


@bad
def name_too_short(c):
    number = c.edit_entry("Цар Симеон Велики", renamed("Цар Симеон Велики", simeon(10)))
    return [(f"entries.txt:{number}", "the name „Цар Симеон“ has 10 characters; a name has 11 to 30")]


@good
def name_of_11_characters(c):
    c.edit_entry("Цар Симеон Велики", renamed("Цар Симеон Велики", simeon(11)))


@bad
def name_too_long(c):
    number = c.edit_entry("Цар Симеон Велики", renamed("Цар Симеон Велики", simeon(31)))
    return [(f"entries.txt:{number}", f"the name „{simeon(31)}“ has 31 characters; a name has 11 to 30")]


@good
def name_of_30_characters(c):
    c.edit_entry("Цар Симеон Велики", renamed("Цар Симеон Велики", simeon(30)))


@bad
def name_twice(c):
    entries = c.entries()
    entries[2] = entries[1]
    c.set_entries(entries)
    return [("entries.txt:3", f"„{entries[1][0]}“ is already the name on line 2; each name appears once")]


@bad
def name_twice_once_with_a_trailing_space(c):
    entries = c.entries()
    spaced = next(name for name, _ in entries if name.endswith(" "))
    number = c.entry_line(spaced)
    entries.insert(number, (spaced.rstrip(" "), entries[number - 1][1]))
    c.set_entries(entries[:-1])
    # Without its space the name is also one character short.
    return [(f"entries.txt:{number + 1}", f"the name „{spaced.rstrip(' ')}“ has {len(spaced) - 1} characters"),
            (f"entries.txt:{number + 1}", f"„{spaced.rstrip(' ')}“ is already the name on line {number}")]


@bad
def second_name_with_a_trailing_space(c):
    spaced = next(name for name, _ in c.entries() if name.endswith(" "))
    number = c.edit_entry("Христо Ботев", lambda n, d: (n + " ", d))
    return [(f"entries.txt:{number}:{len('Христо Ботев') + 1}",
             f"the name „Христо Ботев “ ends with a space, and only one name may: „{spaced}“ on line "
             f"{c.entry_line(spaced)} does")]


@bad
def name_begins_with_a_space(c):
    number = c.edit_entry("Христо Ботев", lambda n, d: (" " + n, d))
    return [(f"entries.txt:{number}:1", "the name „ Христо Ботев“ begins with a space")]


@bad
def latin_letter_in_a_name(c):
    number = c.edit_entry("Неофит Рилски", lambda n, d: (n.replace("Нео", "Неo"), d))  # a Latin o
    return [(f"entries.txt:{number}:3", "U+006F LATIN SMALL LETTER O („o“) has no place in the name „Неoфит Рилски“ (a Latin "
             "letter")]


@bad
def digit_in_a_name(c):
    number = c.edit_entry("Цар Симеон Велики", renamed("Цар Симеон Велики", "Цар Симеон 1 Велики"))
    return [(f"entries.txt:{number}:12", "U+0031 DIGIT ONE („1“) has no place in the name „Цар Симеон 1 Велики“; use "
             "Cyrillic letters")]


@bad
def two_entries_swapped(c):
    entries = c.entries()
    entries[1], entries[2] = entries[2], entries[1]
    c.set_entries(entries)
    return [("entries.txt:3", f"„{entries[2][0]}“ must come before „{entries[1][0]}“ (line 2): the names go "
                              "in alphabetical order")]


@bad
def last_entry_moved_to_the_top(c):
    entries = c.entries()
    c.set_entries(entries[-1:] + entries[:-1])
    return [("entries.txt:2", f"„{entries[0][0]}“ must come before „{entries[-1][0]}“ (line 1)")]


# --- descriptions: length, characters, spacing, quotations


@bad
def description_too_long(c):
    number = c.edit_entry("Черноризец Храбър",
                          with_description(description_of_length(c, "Черноризец Храбър", 486)))
    return [(f"entries.txt:{number}",
             "the description of „Черноризец Храбър“ has 486 characters; at most 485 fit")]


@good
def description_of_485_characters(c):
    c.edit_entry("Черноризец Храбър", with_description(description_of_length(c, "Черноризец Храбър", 485)))


@bad
def description_too_short(c):
    number = c.edit_entry("Черноризец Храбър",
                          with_description(description_of_length(c, "Черноризец Храбър", 147)))
    return [(f"entries.txt:{number}",
             "the description of „Черноризец Храбър“ has 147 characters; it needs at least 148")]


@good
def description_of_148_characters(c):
    c.edit_entry("Черноризец Храбър", with_description(description_of_length(c, "Черноризец Храбър", 148)))


def put_in_description(c, name, old, new):
    """Replaces the first old after the opening of name's description."""
    number = c.entry_line(name)
    _, description = c.entries()[number - 1]
    at = description.index(old, description.index(")"))
    c.edit_entry(name, lambda n, d: (n, d[:at] + new + d[at + len(old):]))
    return number, entry_column(c, number, at)


@bad
def latin_letter_in_a_description(c):
    number, col = put_in_description(c, "Петко Славейков", "поет", "пoет")
    return [(f"entries.txt:{number}:{col + 1}",
             "U+006F LATIN SMALL LETTER O („o“) has no place in the description of „Петко Славейков“ (a Latin letter")]


@bad
def em_dash_in_a_description(c):
    number, col = put_in_description(c, "Петко Славейков", ", поет", " — поет")
    return [(f"entries.txt:{number}:{col + 1}", "U+2014 EM DASH („—“) has no place in the description of „Петко Славейков“")]


@bad
def angle_quotation_marks(c):
    number, col = put_in_description(c, "Петко Славейков", "„Гайда“", "«Гайда»")
    return [(f"entries.txt:{number}:{col}", "U+00AB LEFT-POINTING DOUBLE ANGLE QUOTATION MARK („«“) has no "
                                            "place in the description of „Петко Славейков“; use Cyrillic letters, digits, spaces, the "
                                            "Roman numeral I and ( ) - . , : ; ? / \" „ “ ” – … (1 more such "
                                            "character follows)")]


@bad
def no_break_space(c):
    number, col = put_in_description(c, "Петко Славейков", " в Търново", "\u00a0в Търново")
    return [(f"entries.txt:{number}:{col}", "U+00A0 NO-BREAK SPACE has no place in the description of „Петко Славейков“")]


@bad
def two_spaces_in_a_description(c):
    number, col = put_in_description(c, "Петко Славейков", " поет", "  поет")
    return [(f"entries.txt:{number}:{col}", "the description of „Петко Славейков“ has two spaces in a row here")]


@bad
def description_ends_with_a_space(c):
    number = c.edit_entry("Петко Славейков", lambda n, d: (n, d + " "))
    line = c.lines("entries.txt")[number - 1]
    return [(f"entries.txt:{number}:{len(line)}", "the description of „Петко Славейков“ ends with a space")]


@bad
def quotation_not_closed(c):
    number = c.entry_line("Петко Славейков")
    _, description = c.entries()[number - 1]
    opened = description.rindex("„")
    c.edit_entry("Петко Славейков", lambda n, d: (n, d[:opened] + d[opened:].replace("“", "", 1)))
    return [(f"entries.txt:{number}:{entry_column(c, number, opened)}", "the description of „Петко Славейков“: this quotation („) is never closed with “")]


@bad
def quotation_not_opened(c):
    number = c.entry_line("Петко Славейков")
    _, description = c.entries()[number - 1]
    opened = description.index("„")
    closed = description.index("“") - 1
    c.edit_entry("Петко Славейков", lambda n, d: (n, d[:opened] + d[opened + 1:]))
    return [(f"entries.txt:{number}:{entry_column(c, number, closed)}",
             "the description of „Петко Славейков“: this “ closes a quotation that was never opened")]


@bad
def quotation_inside_a_quotation(c):
    number = c.entry_line("Петко Славейков")
    _, description = c.entries()[number - 1]
    first = description.index("„")
    closed = description.index("“")
    second = description.index("„", closed)
    c.edit_entry("Петко Славейков", lambda n, d: (n, d[:closed] + d[closed + 1:]))
    return [(f"entries.txt:{number}:{entry_column(c, number, second - 1)}",
             f"the description of „Петко Славейков“: a new quotation opens here, but the one opened at column {entry_column(c, number, first)} "
             "is not closed with “")]


# --- how a description opens: the name, then the dates or the members


@bad
def description_without_the_name(c):
    number = c.edit_entry("Васил Левски", lambda n, d: (n, "В. Левски" + d[len("Васил Левски"):]))
    return [(f"entries.txt:{number}:{len('Васил Левски') + 2}",
             "the description of „Васил Левски“ must begin with the name, „Васил Левски“ (or with another form "
             "of it listed in other-openings.txt)")]


@bad
def description_without_its_other_opening(c):
    name, opening = c.lines("other-openings.txt")[0].split("|")
    number = c.edit_entry(name, lambda n, d: (n, name + d[len(opening):]))
    return [(f"entries.txt:{number}:{len(name) + 2}",
             f"the description of „{name}“ must begin with „{opening}“, the opening other-openings.txt gives it")]


DATES_HINT = "the description of „Васил Левски“: after the name, give the life dates in parentheses, then „ - “ or „. “, e.g. „Васил Левски (1837-1873)"


@bad
def dates_missing(c):
    number = c.edit_entry("Васил Левски", lambda n, d: (n, d.replace(" (1837-1873)", "", 1)))
    return [(f"entries.txt:{number}:{2 * len('Васил Левски') + 2}", DATES_HINT)]


@bad
def dates_with_spaces(c):
    number = c.edit_entry("Васил Левски", lambda n, d: (n, d.replace("(1837-1873)", "(1837 - 1873)", 1)))
    return [(f"entries.txt:{number}:{2 * len('Васил Левски') + 2}", DATES_HINT)]


@bad
def dates_without_the_dash_after_them(c):
    number = c.edit_entry("Васил Левски", lambda n, d: (n, d.replace("(1837-1873) - ", "(1837-1873) ", 1)))
    return [(f"entries.txt:{number}:{2 * len('Васил Левски') + 2}", DATES_HINT)]


@bad
def two_readings_of_a_year_backwards(c):
    number = c.edit_entry("Васил Левски", lambda n, d: (n, d.replace("(1837-1873)", "(1837-1873/1870)", 1)))
    return [(f"entries.txt:{number}:{2 * len('Васил Левски') + 2}", DATES_HINT)]


@bad
def dates_backwards(c):
    number = c.edit_entry("Васил Левски", lambda n, d: (n, d.replace("(1837-1873)", "(1873-1837)", 1)))
    return [(f"entries.txt:{number}:{2 * len('Васил Левски') + 4}",
             "the description of „Васил Левски“: the second date in „1873-1837“ must come after the first")]


@bad
def centuries_backwards(c):
    number = c.edit_entry("Черноризец Храбър", lambda n, d: (n, d.replace("(9.-10. век)", "(10.-9. век)", 1)))
    return [(f"entries.txt:{number}:{2 * len('Черноризец Храбър') + 4}",
             "the description of „Черноризец Храбър“: the second date in „10.-9. век“ must come after the first")]


@bad
def life_too_long(c):
    number = c.edit_entry("Васил Левски", lambda n, d: (n, d.replace("(1837-1873)", "(1737-1873)", 1)))
    return [(f"entries.txt:{number}:{2 * len('Васил Левски') + 4}",
             "the description of „Васил Левски“: the life dates „1737-1873“ span 136 years; check them")]


@good
def dates_about_both_ends(c):
    c.edit_entry("Васил Левски", lambda n, d: (n, d.replace("(1837-1873)", "(ок.1837-ок.1873)", 1)))


@bad
def second_group(c):
    group = next(name for name, d in c.entries() if d.startswith(name.rstrip(" ") + ":"))
    number = c.edit_entry("Св. Иван Рилски",
                          lambda n, d: (n, re.sub(r"^Св\. Иван Рилски \([^)]*\) - ", "Св. Иван Рилски: отшелник, "
                                                                                    "монах и чудотворец. ", d)))
    first, second = sorted([(number, "Св. Иван Рилски"), (c.entry_line(group), group)])
    return [(f"entries.txt:{second[0]}:{2 * len(second[1]) + 2}",
             f"„{second[1]}“ and „{first[1]}“ (line {first[0]}) both list members after a colon, but only one "
             "entry may be a group; after a person's name, give the life dates in parentheses")]


@bad
def group_of_two(c):
    group = next(name for name, d in c.entries() if d.startswith(name.rstrip(" ") + ":"))
    number = c.edit_entry(group, lambda n, d: (n, re.sub(r"^([^:]*): [^.]*\. ", r"\1: Кирил и Методий. ", d)))
    return [(f"entries.txt:{number}:{2 * len(group) + 2}",
             f"the description of „{group}“: after the name of a group, list its members after a colon, e.g. „Св. Седмочисленици: Кирил, "
             "Методий")]


# --- other openings


@bad
def other_opening_for_no_entry(c):
    lines = c.lines("other-openings.txt")
    name, opening = lines[0].split("|")
    lines[0] = name + "и|" + opening
    c.set_lines("other-openings.txt", lines)
    number = c.entry_line(name)
    return [(f"entries.txt:{number}:{len(name) + 2}", f"the description of „{name}“ must begin with the name"),
            ("other-openings.txt:1", f"„{name}и“ is not a name in entries.txt")]


@bad
def other_opening_given_twice(c):
    lines = c.lines("other-openings.txt")
    c.set_lines("other-openings.txt", lines + [lines[0]])
    return [(f"other-openings.txt:{len(lines) + 1}", f"„{lines[0].split('|')[0]}“ already has an opening, on line 1")]


@bad
def other_opening_that_is_the_name(c):
    lines = c.lines("other-openings.txt")
    name = lines[0].split("|")[0]
    c.set_lines("other-openings.txt", [name + "|" + name] + lines[1:])
    return [("other-openings.txt:1", "the opening is the name itself"),
            (f"entries.txt:{c.entry_line(name)}:{len(name) + 2}", f"must begin with the name, „{name}“")]


@bad
def other_opening_without_a_bar(c):
    lines = c.lines("other-openings.txt")
    c.set_lines("other-openings.txt", lines + ["Васил Левски Апостола"])
    return [(f"other-openings.txt:{len(lines) + 1}", "no „|“ on this line")]


# --- the introduction


@bad
def six_paragraphs(c):
    lines = c.lines("introduction.txt")
    c.set_lines("introduction.txt", lines[:2] + lines[3:])
    return [("introduction.txt:6", "the introduction ends after 6 paragraphs; the introduction has exactly 7")]


@bad
def eight_paragraphs(c):
    lines = c.lines("introduction.txt")
    c.set_lines("introduction.txt", lines[:3] + ["Още един абзац."] + lines[3:])
    return [("introduction.txt:8", "one paragraph too many")]


@bad
def first_paragraph_without_its_centuries(c):
    c.set_paragraph(1, c.paragraph(1).replace(" XVIII - XIX век.", " XVIII-XIX век."))
    return [("introduction.txt:1", "paragraph 1 must end with „ XVIII - XIX век.“")]


@bad
def assignment_reworded(c):
    text = c.paragraph(4)
    at = text.index("Информатика")
    c.set_paragraph(4, text.replace("Информатика", "информатика"))
    return [(f"introduction.txt:4:{at + 1}", "paragraph 4 is the assignment's wording and must read exactly")]


@bad
def latin_t_corrected(c):
    text = c.paragraph(6)
    at = text.index("t")
    c.set_paragraph(6, text.replace("t", "т"))
    return [(f"introduction.txt:6:{at + 1}", "(the „t“ in „дейностtа“ is a Latin t, as the assignment has it); "
                                             "it differs here")]


@bad
def topic_without_its_opening(c):
    c.set_paragraph(5, c.paragraph(5).replace("Тема на проекта: ", "Тема: "))
    return [("introduction.txt:5", "paragraph 5 names the project's topic: it begins with „Тема на проекта: “")]


@bad
def topic_without_a_full_stop(c):
    c.set_paragraph(5, c.paragraph(5).rstrip("."))
    return [("introduction.txt:5", "and ends with a full stop")]


@bad
def names_missing(c):
    c.set_paragraph(7, c.paragraph(7).replace("{names}", "всички"))
    return [("introduction.txt:7", "the last paragraph must hold {names} once")]


@bad
def names_twice(c):
    text = c.paragraph(7)
    c.set_paragraph(7, text.replace(".", ", {names}."))
    return [(f"introduction.txt:7:{len(text) + 2}", "a second {names}")]


@bad
def names_in_another_paragraph(c):
    text = c.paragraph(2)
    c.set_paragraph(2, text[:-1] + " {names}.")
    return [(f"introduction.txt:2:{len(text) + 1}", "{names} belongs in the last paragraph only")]


@bad
def two_spaces_in_the_introduction(c):
    text = c.paragraph(3)
    at = text.index(" ")
    c.set_paragraph(3, text[:at] + " " + text[at:])
    return [(f"introduction.txt:3:{at + 1}", "the paragraph has two spaces in a row here")]


# --- the title


@bad
def title_on_two_lines(c):
    c.set_text("title.txt", "Калветор\nсправочник\n")
    return [("title.txt:2", "the title is one line")]


@bad
def title_changed(c):
    c.set_text("title.txt", "Калвеtор\n")
    return [("title.txt:1:6", "the title is the program's name, „Калветор“")]


@bad
def title_file_empty(c):
    c.set_text("title.txt", "")
    return [("title.txt", "the file is empty")]


def run(name, tool, source, work):
    kind, edit = CASES[name]
    original = Content(source)
    content = Content(source)
    expected = edit(content)
    if content.raw == original.raw:
        return f"the edit of {name} changed nothing"
    directory = os.path.join(work, name)
    shutil.rmtree(directory, ignore_errors=True)
    os.makedirs(directory)
    for file, data in content.raw.items():
        with open(os.path.join(directory, file), "wb") as f:
            f.write(data)
    output = os.path.join(work, name + ".cpp")
    if os.path.exists(output):
        os.remove(output)
    result = subprocess.run([tool, directory, output], capture_output=True, timeout=60)
    stderr = result.stderr.decode("utf-8", "replace")
    shown = f"status {result.returncode}, stderr:\n{stderr}"
    if kind == "good":
        if result.returncode != 0 or not os.path.exists(output):
            return f"embed_content refused content it should accept: {shown}"
        return None
    if result.returncode != 1:
        return f"expected status 1, got {shown}"
    if os.path.exists(output):
        return "embed_content refused the content but still wrote " + output
    lines = stderr.splitlines()
    if not lines or not lines[-1].startswith("embed_content: "):
        return "no closing summary line: " + shown
    problems = lines[:-1]
    if len(problems) != len(expected):
        return f"expected {len(expected)} problem(s), got {len(problems)}: {shown}"
    for got, (where, what) in zip(problems, expected):
        prefix = directory + "/" + where + ": "  # as embed_content joins the directory and the file
        if not got.startswith(prefix) or what not in got[len(prefix):]:
            return f"expected a problem at {where} saying {what!r}, got:\n{got}\n{shown}"
    return None


def main(argv):
    if argv[1:] == ["list"]:
        print(";".join(f"{kind}:{name}" for name, (kind, _) in CASES.items()))
        return 0
    if len(argv) == 6 and argv[1] == "run":
        failure = run(*argv[2:])
        if failure:
            print("FAIL:", failure)
            return 1
        print(f"ok: {argv[2]}")
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
