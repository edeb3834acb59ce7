#!/usr/bin/env python3
"""Writes a large grade file for measuring: COURSES courses of STUDENTS
students each (default 1000 x 40, one sheet page per course), every course
with the full set of header lines, names of two or three characters, numeric
grades with a few 缺考 and 作弊, GBK with CR LF line ends.

    bench/make_big_file.py /tmp/big1000.txt [COURSES [STUDENTS]]

The output is the same on every run (fixed seed).
"""
import random
import sys

MAGIC = "***** VelmoraTarvin版 *****"
SURNAMES = "王李张刘陈杨赵黄周吴徐孙胡朱高林何郭马罗梁宋郑谢韩唐冯于董萧程曹袁邓许傅沈曾彭吕苏卢蒋蔡贾丁魏薛叶"
GIVEN = "伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超兰霞平刚桂华玉萍红娥玲芬燕彩春菊凤洁梅琳素云莲真环雪荣爱妹"
SUBJECTS = ["高等数学", "大学英语", "线性代数", "程序设计", "数据结构", "大学物理", "概率统计", "操作系统"]
FACULTIES = ["计算机学院", "数学与统计学院", "外国语学院", "物理学院", "软件学院"]


def gbk(text):
    return text.encode("gbk")


def pad(text, width):
    b = gbk(text)[:width]
    return b + b" " * (width - len(b))


def main():
    path = sys.argv[1]
    courses = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    students = int(sys.argv[3]) if len(sys.argv) > 3 else 40
    rng = random.Random(20250101)
    out = [gbk(MAGIC)]
    for c in range(courses):
        key = ("C%04d" % c).encode("ascii")
        klass = "班%04d" % (c % 9000)
        share = rng.choice((20, 30, 40, 50))
        faculty = rng.choice(FACULTIES)
        heads = [("t0", "学生考试(考查)成绩表"), ("t1", "2024-2025年度第一学期"),
                 ("tk", "%s(%d)" % (rng.choice(SUBJECTS), c)), ("tl", "必修"), ("tx", "3"),
                 ("tz", "4"), ("tj", "张老师"), ("td", faculty), ("tr", str(students)),
                 ("tf", "计算机科学与技术"), ("ty", faculty), ("tb", klass), ("t9", str(share))]
        out += [key + tag.encode("ascii") + gbk(text) for tag, text in heads]
        for s in range(students):
            name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice((1, 2))))
            coursework = max(0, min(100, int(rng.gauss(84, 8))))
            examination = max(0, min(100, int(rng.gauss(74, 13))))
            total = round((share * coursework + (100 - share) * examination) / 100)
            exam_text, total_text = str(examination), "%3d" % total
            roll = rng.random()
            if roll < 0.02:
                exam_text = total_text = "缺考"
            elif roll < 0.025:
                exam_text = total_text = "作弊"
            number = "2024%02d%04d" % (c % 100, s + 1)
            out.append(key + b"cj" + pad(number, 10) + pad(name, 8) + pad(klass, 8) + pad(str(coursework), 6)
                       + pad(exam_text, 6) + pad(total_text, 6) + pad("", 6))
    with open(path, "wb") as f:
        f.write(b"".join(line + b"\r\n" for line in out))


if __name__ == "__main__":
    main()
