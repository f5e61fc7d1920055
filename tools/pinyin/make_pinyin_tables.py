#!/usr/bin/env python3
"""Writes src/masterdata/ZPYTables.cpp: the syllable inventory and the GBK pinyin index.

Data
----
The readings come from the Unihan database of Unicode 15.0 as Debian 12 ships it in the
package `unicode-data` (15.0.0-1): /usr/share/unicode/Unihan_Readings.txt.bz2, field
kMandarin ("the most customary pinyin reading"; where it holds two values the first is the one
customary in mainland China). The GBK code page is Python's `gbk` codec; the tests check the
result against the program's own GBK converter, pair by pair.

The package is needed only to run this script, not to build the program: the generated file is
committed. To re-run:

    apt-get install unicode-data
    python3 tools/pinyin/make_pinyin_tables.py            # rewrites src/masterdata/ZPYTables.cpp
    python3 tools/pinyin/make_pinyin_tables.py --check    # exit 1 if the committed file differs

Conventions
-----------
- One toneless reading per character; u-umlaut is written v (Lv, Nv), lue and nue stay Lue and
  Nue. The inventory holds 405 syllables: the 402 readings the characters use, plus Jv, Qv and
  Xv as spellings beside Ju, Qu and Xu. The interjections Ei, M and N are syllables of their own.
- Ten marginal syllables that Unihan uses for a handful of characters are not in the inventory:
  chua, den, eng, fiao, hm, kei, lo, nun, rua, shei. A character read so takes its other
  reading from the dictionary fields (kXHC1983, kTGHZ2013, kHanyuPinyin) when it has one:
  谁 Shui, 欻歘 Xu, 噷 Xin, 剋 Ke, 挼 Ruo. 扥扽 (den), 鞥 (eng), 覅 (fiao), 黁 (nun) and 囖 (lo)
  have no other reading and get none.
- Unihan gives no Mandarin reading for the contracted unit characters; they take the first
  syllable of their two-syllable reading: 兙 Shi (十克), 兡 Bai (百克), 嗧 Jia (加仑),
  瓧 Shi (十瓦), 瓰 Fen (分瓦), 瓱 Hao (毫瓦), 瓼 Bai (百瓦), 甅 Li (厘瓦). 桛 and 烪 have no
  reading.
- Compatibility ideographs (lead byte 0xFD) take the reading of their unified form (郎 Lang).
- Lead bytes 0xA1..0xA9 (symbols), trail byte 0x7F and lead byte 0xFE hold no readings.

Characters with several readings
--------------------------------
Each takes kMandarin's reading, which is the most frequent one in running text, except where
names of firms, goods and people read it otherwise:

    行 Hang (银行, 商行; kMandarin xing)    茄 Qie (茄子; kMandarin jia)
    拓 Tuo (开拓, 拓展; kMandarin ta)       翟 Zhai (the surname; kMandarin di)
    佛 Fo (kMandarin fu)

Readings kept from kMandarin that decide common names (checked below on every run):
长 Zhang, 重 Zhong, 乐 Le, 单 Dan, 吕 Lv, 女 Nv, 略 Lue, 虐 Nue, 曾 Ceng, 朝 Chao, 藏 Cang,
参 Can, 省 Sheng, 解 Jie, 查 Cha, 系 Xi, 便 Bian, 强 Qiang, 弹 Dan, 宿 Su, 盛 Sheng, 秘 Mi,
卡 Ka, 壳 Ke, 调 Diao, 种 Zhong, 都 Dou, 传 Chuan, 还 Hai, 会 Hui, 厦 Sha, 地 De, 的 De,
了 Le, 着 Zhe, 率 Lv, 合 He, 贾 Jia, 乾 Qian, 术 Shu, 谷 Gu, 沈 Shen, 区 Qu, 仇 Chou, 朴 Pu.
"""

import argparse
import bz2
import collections
import pathlib
import sys
import unicodedata

ROOT = pathlib.Path(__file__).resolve().parents[2]
OUTPUT = ROOT / "src" / "masterdata" / "ZPYTables.cpp"
UNIHAN = pathlib.Path("/usr/share/unicode/Unihan_Readings.txt.bz2")

LEAD_FIRST, LEAD_LAST = 0x81, 0xFE
TRAIL_FIRST, TRAIL_LAST = 0x40, 0xFE
ROWS = LEAD_LAST - LEAD_FIRST + 1      # 126
COLUMNS = TRAIL_LAST - TRAIL_FIRST + 1  # 191
SYMBOL_LEADS = range(0xA1, 0xAA)
EMPTY_LEADS = (0xFE,)
EMPTY_TRAILS = (0x7F,)

# Spellings beside Ju, Qu, Xu that no character uses but a typed code may.
EXTRA_SYLLABLES = ["jv", "qv", "xv"]
LEFT_OUT_SYLLABLES = {"chua", "den", "eng", "fiao", "hm", "kei", "lo", "nun", "rua", "shei"}

OVERRIDES = {"行": "hang", "茄": "qie", "拓": "tuo", "翟": "zhai", "佛": "fo"}
NO_UNIHAN_READING = {
    "兙": "shi", "兡": "bai", "嗧": "jia", "瓧": "shi", "瓰": "fen",
    "瓱": "hao", "瓼": "bai", "甅": "li",
}
OTHER_READING_FIELDS = ("kXHC1983", "kTGHZ2013", "kHanyuPinyin")

EXPECTED = {
    "长": "Zhang", "行": "Hang", "重": "Zhong", "乐": "Le", "单": "Dan", "吕": "Lv",
    "女": "Nv", "略": "Lue", "虐": "Nue", "张": "Zhang", "三": "San", "庄": "Zhuang",
    "有": "You", "限": "Xian", "公": "Gong", "司": "Si", "一": "Yi", "号": "Hao",
    "射": "She", "线": "Xian", "士": "Shi", "斤": "Jin", "千": "Qian", "克": "Ke",
    "谁": "Shui", "剋": "Ke", "茄": "Qie", "拓": "Tuo", "翟": "Zhai", "佛": "Fo",
    "曾": "Ceng", "朝": "Chao", "藏": "Cang", "参": "Can", "省": "Sheng", "解": "Jie",
    "查": "Cha", "系": "Xi", "便": "Bian", "强": "Qiang", "弹": "Dan", "宿": "Su",
    "盛": "Sheng", "秘": "Mi", "卡": "Ka", "壳": "Ke", "调": "Diao", "种": "Zhong",
    "都": "Dou", "传": "Chuan", "还": "Hai", "会": "Hui", "厦": "Sha", "地": "De",
    "的": "De", "了": "Le", "着": "Zhe", "率": "Lv", "合": "He", "贾": "Jia",
    "乾": "Qian", "术": "Shu", "谷": "Gu", "沈": "Shen", "区": "Qu", "仇": "Chou",
    "朴": "Pu", "诶": "Ei", "呣": "M", "嗯": "N", "兙": "Shi", "郎": "Lang",
}
EXPECTED_NONE = "扥扽鞥覅黁囖桛烪"


def toneless(reading):
    """Pinyin with tone marks to the inventory's spelling: lower case, ü as v."""
    decomposed = unicodedata.normalize("NFD", reading.lower()).replace("u\u0308", "v")
    plain = "".join(ch for ch in decomposed if not unicodedata.combining(ch))
    plain = plain.replace("lve", "lue").replace("nve", "nue")
    if not plain.isascii() or not plain.isalpha():
        raise ValueError(f"unexpected reading {reading!r}")
    return plain


def load_unihan(path):
    fields = collections.defaultdict(dict)
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, field, value = line.rstrip("\n").split("\t")
            fields[int(code[2:], 16)][field] = value
    return fields


def dictionary_readings(entry):
    """Every reading the dictionary fields list, in their order (tone marks kept)."""
    for field in OTHER_READING_FIELDS:
        for item in entry.get(field, "").split():
            for reading in item.split(":")[-1].split(","):
                yield reading


def gbk_characters():
    """(lead, trail, character) for each GBK pair that carries a hanzi reading."""
    for lead in range(LEAD_FIRST, LEAD_LAST + 1):
        if lead in SYMBOL_LEADS or lead in EMPTY_LEADS:
            continue
        for trail in range(TRAIL_FIRST, TRAIL_LAST + 1):
            if trail in EMPTY_TRAILS:
                continue
            try:
                ch = bytes([lead, trail]).decode("gbk")
            except UnicodeDecodeError:
                continue
            if unicodedata.name(ch, "").startswith(("CJK UNIFIED IDEOGRAPH",
                                                    "CJK COMPATIBILITY IDEOGRAPH")):
                yield lead, trail, ch


def choose_reading(ch, unihan, inventory):
    if ch in OVERRIDES:
        return OVERRIDES[ch]
    if ch in NO_UNIHAN_READING:
        return NO_UNIHAN_READING[ch]
    entry = unihan.get(ord(unicodedata.normalize("NFC", ch)), {})
    if "kMandarin" not in entry:
        return None
    first = toneless(entry["kMandarin"].split()[0])
    if first in inventory:
        return first
    for reading in dictionary_readings(entry):
        other = toneless(reading)
        if other in inventory:
            return other
    return None


def build(unihan):
    used = set()
    for _, _, ch in gbk_characters():
        entry = unihan.get(ord(unicodedata.normalize("NFC", ch)), {})
        if "kMandarin" in entry:
            used.add(toneless(entry["kMandarin"].split()[0]))
    used |= set(OVERRIDES.values()) | set(NO_UNIHAN_READING.values())
    inventory = sorted((used - LEFT_OUT_SYLLABLES) | set(EXTRA_SYLLABLES))
    if len(inventory) != 405:
        sys.exit(f"inventory has {len(inventory)} syllables, not 405")
    number = {s: i + 1 for i, s in enumerate(inventory)}

    index = [0] * (ROWS * COLUMNS)
    chosen = {}
    for lead, trail, ch in gbk_characters():
        reading = choose_reading(ch, unihan, number)
        chosen[ch] = reading
        if reading is not None:
            index[(lead - LEAD_FIRST) * COLUMNS + (trail - TRAIL_FIRST)] = number[reading]

    names = [s.capitalize() for s in inventory]
    problems = [f"{ch}: {chosen.get(ch)} instead of {want}" for ch, want in EXPECTED.items()
                if chosen.get(ch) is None or chosen[ch].capitalize() != want]
    problems += [f"{ch}: {chosen[ch]} instead of none" for ch in EXPECTED_NONE if chosen[ch]]
    if problems:
        sys.exit("readings not as documented:\n  " + "\n  ".join(problems))
    return names, index, chosen


def render(names, index, chosen):
    missing = sum(1 for r in chosen.values() if r is None)
    out = [
        "// The pinyin syllable inventory and the syllable of every GBK byte pair.",
        "// Generated by tools/pinyin/make_pinyin_tables.py from Unihan 15.0 (Debian unicode-data);",
        "// edit the script, not this file.",
        f"// {len(chosen) - missing} hanzi with a reading, {missing} without.",
        '#include "ZPY.h"',
        "",
        "namespace kvl {",
        "",
        f"const char *const PinyinSyllables[kPinyinSyllableCount] = {{",
    ]
    for i in range(0, len(names), 10):
        out.append("    " + " ".join(f'"{n}",' for n in names[i:i + 10]))
    out += ["};", "", "const std::uint16_t PinyinIndex[kPinyinIndexRows * kPinyinIndexColumns] = {"]
    for row in range(ROWS):
        cells = index[row * COLUMNS:(row + 1) * COLUMNS]
        out.append(f"    // lead 0x{LEAD_FIRST + row:02X}")
        for start in range(0, COLUMNS, 16):
            chunk = cells[start:start + 16]
            out.append("    " + " ".join(f"{c}," for c in chunk)
                       + f"  // 0x{TRAIL_FIRST + start:02X}")
    out += ["};", "", "} // namespace kvl", ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unihan", type=pathlib.Path, default=UNIHAN,
                        help="Unihan_Readings.txt.bz2 (default: %(default)s)")
    parser.add_argument("--output", type=pathlib.Path, default=OUTPUT)
    parser.add_argument("--check", action="store_true",
                        help="compare with the output file instead of writing it")
    args = parser.parse_args()
    if not args.unihan.exists():
        sys.exit(f"{args.unihan} not found: apt-get install unicode-data")

    text = render(*build(load_unihan(args.unihan)))
    if args.check:
        same = args.output.exists() and args.output.read_text(encoding="utf-8") == text
        print(f"{args.output}: {'up to date' if same else 'differs'}")
        return 0 if same else 1
    args.output.write_text(text, encoding="utf-8")
    print(f"wrote {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
