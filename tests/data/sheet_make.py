#!/usr/bin/env python3
"""Writes the GBK grade files of the sheet and check tests (sheet_*.txt, check_*.txt) beside itself."""
import os
import sys

MAGIC = "***** VelmoraTarvin版 *****"
HERE = os.path.dirname(os.path.abspath(__file__))


def pad(text, width):
    raw = text.encode("gbk")
    return raw + b" " * (width - len(raw))


def record(key, number, name, cls, cw, ex, total):
    return (key.encode() + b"cj" + pad(number, 10) + pad(name, 8) + pad(cls, 8)
            + pad(cw, 6) + pad(ex, 6) + pad(total, 6) + b"      ")


def head(key, tag, payload):
    return key.encode() + tag.encode() + payload.encode("gbk")


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as f:  # an absolute name stays as it is
        f.write(MAGIC.encode("gbk") + b"\r\n")
        for line in lines:
            f.write(line + b"\r\n")


SURNAMES = "赵钱孙李周吴郑王冯陈褚卫蒋沈韩杨"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明"


def student(i):
    return SURNAMES[i % 16] + GIVEN[(i * 7) % 16]


def course(key, tags, students):
    lines = [head(key, tag, value) for tag, value in tags]
    lines += [record(key, *s) for s in students]
    return lines


# Two courses: 45 students in two classes (two pages, or three split by
# class), and 6 students with the totals of the statistics example.
math = [("t0", "  学生考试(考查)成绩表  "), ("t1", "2025-2026学年度第 1 学期"),
        ("tk", "高等数学"), ("tl", "必修"), ("tx", "4"), ("tz", "4"),
        ("tj", "王建国"), ("td", "数学学院"), ("tr", "45"), ("tf", "软件工程"),
        ("ty", "信息学院"), ("tb", "软件2401,软件2402"), ("t9", "30")]
math_students = []
for i in range(45):
    cw = 60 + (i * 13) % 41
    ex = 50 + (i * 17) % 51
    total = round(0.3 * cw + 0.7 * ex)
    cls = "软件2401" if i % 3 else "软件2402"
    math_students.append((f"2024{i + 1:04d}", student(i), cls, str(cw), str(ex), f"{total:3d}"))
english = [("tk", "大学英语"), ("tl", "必修"), ("tx", "2"), ("tz", "2"), ("tj", "李文"),
           ("td", "外语学院"), ("tr", "6"), ("tf", "软件工程"), ("ty", "信息学院"),
           ("tb", "软件2401"), ("t9", "33.5")]
english_students = [(f"2024{i + 1:04d}", student(i + 3), "软件2401", "80", "80", t)
                    for i, t in enumerate(["95", "85", "72", "65", "40", "作弊"])]
write("sheet_two_courses.txt", course("C0001", math, math_students)
      + course("C0002", english, english_students))

# One course graded in words: the statistics stay blank.
words = [("tk", "体育"), ("tj", "张力"), ("t9", "0")]
write("sheet_levels.txt", course("P0001", words, [
    ("20240001", "赵伟", "软件2401", "优", "良", "优"),
    ("20240002", "钱芳", "软件2401", "及格", "中", "及格"),
    ("20240003", "孙娜", "软件2401", "", "", " 88")]))

# Only the magic line: a grade file without courses.
write("sheet_empty.txt", [])

# Every kind of finding of the check command, in a course whose share went
# from 30 to 40 after its totals were made, a clean-looking second course,
# and a record of the first course after it.
write("check_flagged.txt",
      course("10001", [("tk", "高等数学"), ("tj", "王建国"), ("t9", "40")], [
          ("2024000001", "张伟", "软件2401", "80", "60", " 66"),
          ("2024000002", "王芳", "软件2401", "8O", "60", " 44"),
          ("2024000003", "李娜", "软件2401", "70 71", "10", " 34"),
          ("2024000004", "刘敏", "软件2401", "120", "60", " 84"),
          ("2024000005", "陈静", "软件2401", "93", "缺考", " 37"),
          ("2024000001", "杨丽", "软件2402", "80", "60", " 68"),
          ("2024000007", "赵强", "软件2402", "8\t5", "60", " 39")])
      + course("10002", [("tk", "大学英语"), ("tj", "李文"), ("t9", "30")], [
          ("2024000001", "张伟", "软件2401", "85", "90", " 89"),
          ("2024000002", "王芳", "软件2401", "优", "缺考", "缺考"),
          ("2024000003", "李娜", "软件2401", "８５", "90", " 63")])
      + [record("10001", "2024000009", "孙磊", "软件2402", "85分", "60", " 70")])


def write_big(path):
    """1000 sheet pages (25 courses of 1600 students), for timing the PDF command."""
    big = []
    for c in range(25):
        key = f"B{c:04d}"
        tags = [("tk", f"课程{c}"), ("tj", "教师"), ("t9", "40")]
        big += course(key, tags, [(f"{c:02d}{i:06d}", student(i), f"班{i % 3}", "70", "80",
                                   f"{(i * 7) % 101:3d}") for i in range(1600)])
    write(path, big)


if len(sys.argv) == 3 and sys.argv[1] == "--big":
    write_big(os.path.abspath(sys.argv[2]))
