#!/usr/bin/env python3
"""Writes samples/demo.txt, the demo grade file: GBK text with CR LF line ends.

Five courses of one teacher's term, with what a teacher meets in practice:
a course of 45 students (two pages of the sheet), a course whose two classes
are interleaved in the record order, a pass/fail style course graded with
words and without "t0"/"t1" lines, coursework shares of 30, 40 and 50, the
marks 缺考 and 作弊, and a course whose grades are not entered yet. Where
both grades are numbers the total is the weighted sum rounded half to even,
as the program computes it.

The output is the same on every run (fixed seed); run it again after a change
and check the new demo.txt in beside it.
"""
from fractions import Fraction
import pathlib
import random

MAGIC = "***** VelmoraTarvin版 *****"
TERM = "2024-2025年度第一学期"

SURNAMES = "王李张刘陈杨赵黄周吴徐孙胡朱高林何郭马罗梁宋郑谢韩唐冯于董萧程曹袁邓许傅沈曾彭吕苏卢蒋蔡贾丁魏薛叶阎余潘杜戴夏钟汪田任姜范方石姚谭廖邹熊金陆郝孔白崔康毛邱秦江史顾侯邵孟龙万段雷钱汤尹黎易常武乔贺赖龚文"
GIVEN = "伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超秀兰霞平刚桂英华玉萍红娥玲芬燕彩春菊兰凤洁梅琳素云莲真环雪荣爱妹霞香月莺媛艳瑞凡佳嘉琼勤珍贞莉桂娣叶璧璐娅琦晶妍茜秋珊莎锦黛青倩婷姣婉娴瑾颖露瑶怡婵雁蓓纨仪荷丹蓉眉君琴蕊薇菁梦岚苑婕馨瑗琰韵融园艺咏卿聪澜纯毓悦昭冰爽琬茗羽希宁欣飘育滢馥筠柔竹霭凝晓欢霄枫芸菲寒伊亚宜可姬舒影荔枝思丽浩宇轩然博文子涵俊杰一鸣家豪志强"


def gbk(text: str) -> bytes:
    return text.encode("gbk")


def pad(text: str, width: int) -> bytes:
    """The text as GBK, blank-padded on the right (or cut) to width bytes."""
    b = gbk(text)[:width]
    return b + b" " * (width - len(b))


def weighted_total(share: int, coursework: int, examination: int) -> int:
    exact = Fraction(share, 100) * coursework + (1 - Fraction(share, 100)) * examination
    return round(exact)  # Python rounds an exact half to the even neighbour


class Course:
    def __init__(self, key, name, category, credit, hours, teacher, dept, major, faculty,
                 classes, share, title=True, extra=()):
        self.key = key
        self.name = name
        self.category = category
        self.credit = credit
        self.hours = hours
        self.teacher = teacher
        self.dept = dept
        self.major = major
        self.faculty = faculty
        self.classes = classes
        self.share = share
        self.title = title
        self.extra = list(extra)
        self.records = []

    def header(self, count):
        k = self.key.encode("ascii")
        lines = []
        if self.title:
            lines.append(k + b"t0" + gbk("学生考试(考查)成绩表"))
            lines.append(k + b"t1" + gbk(TERM))
        lines += [
            k + b"tk" + gbk(self.name),
            k + b"tl" + gbk(self.category),
            k + b"tx" + gbk(self.credit),
            k + b"tz" + gbk(self.hours),
            k + b"tj" + pad(self.teacher, 8),
            k + b"td" + gbk(self.dept),
            k + b"tr" + gbk(str(count)),
            k + b"tf" + gbk(self.major),
            k + b"ty" + gbk(self.faculty),
            k + b"tb" + gbk(",".join(self.classes)),
        ]
        if self.share is not None:
            lines.append(k + b"t9" + gbk(str(self.share)))
        lines += [k + tag.encode("ascii") + gbk(text) for tag, text in self.extra]
        return lines

    def record(self, number, name, klass, coursework, examination, total):
        line = (self.key.encode("ascii") + b"cj" + pad(number, 10) + pad(name, 8) + pad(klass, 8)
                + pad(coursework, 6) + pad(examination, 6) + pad(total, 6) + pad("", 6))
        assert len(line) == 57, line
        self.records.append(line)


def main():
    rng = random.Random(20241216)
    used_names = set()

    def person():
        while True:
            name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice((1, 2, 2))))
            if name not in used_names:
                used_names.add(name)
                return name

    def score(mean, spread):
        return max(0, min(100, int(rng.gauss(mean, spread) + 0.5)))

    # Students of the classes, shared by the courses they take together.
    classes = {}
    for klass, first, count in (("计科2301", "2023040101", 23), ("计科2302", "2023040201", 22),
                                ("软件2301", "2023050101", 16), ("软件2302", "2023050201", 16)):
        start = int(first)
        classes[klass] = [(str(start + i), person()) for i in range(count)]

    def numeric(course, students, marks=None):
        marks = marks or {}
        for i, (number, name, klass) in enumerate(students):
            coursework = score(84, 8)
            if i in marks:
                examination = marks[i]
                total = marks[i]
            else:
                examination = score(74, 13)
                total = "%3d" % weighted_total(course.share, coursework, examination)
            course.record(number, name, klass, str(coursework), str(examination), total)

    courses = []

    math = Course("01213", "高等数学(一)", "必修", "5", "6", "陈建华", "数学与统计学院", "计算机科学与技术",
                  "计算机学院", ["计科2301", "计科2302"], 30, extra=[("tm", "闭卷")])
    students = [(n, nm, "计科2301") for n, nm in classes["计科2301"]]
    students += [(n, nm, "计科2302") for n, nm in classes["计科2302"]]
    numeric(math, students, marks={7: "缺考", 30: "作弊", 41: "缺考"})
    courses.append(math)

    english = Course("02107", "大学英语(三)", "必修", "3", "4", "刘雅琴", "外国语学院", "软件工程",
                     "软件学院", ["软件2301", "软件2302"], 40)
    # The two classes were enrolled together, so their records alternate.
    a = [(n, nm, "软件2301") for n, nm in classes["软件2301"]]
    b = [(n, nm, "软件2302") for n, nm in classes["软件2302"]]
    students = [s for pair in zip(a, b) for s in pair]
    numeric(english, students, marks={11: "缺考"})
    courses.append(english)

    ethics = Course("03022", "思想道德与法治", "公共必修", "2", "2", "赵明远", "马克思主义学院", "计算机科学与技术",
                    "计算机学院", ["计科2301"], 30, title=False)
    words = ["优", "良", "良", "中", "中", "及格", "不及格"]
    for i, (number, name) in enumerate(classes["计科2301"]):
        coursework = rng.choice(words[:5])
        examination = "缓考" if i == 15 else rng.choice(words)
        total = examination if i == 15 else rng.choice((coursework, examination))
        ethics.record(number, name, "计科2301", coursework, examination, total)
    courses.append(ethics)

    practice = Course("04310", "程序设计实践", "实践", "1", "2", "陈建华", "计算机学院", "软件工程",
                      "软件学院", ["软件2302"], 50)
    for i, (number, name) in enumerate(classes["软件2302"][:12]):
        passed = i not in (4, 9)
        practice.record(number, name, "软件2302", "A" if passed and i % 3 else ("B" if passed else "D"),
                        "合格" if passed else "不合格", "合格" if passed else "不合格")
    courses.append(practice)

    sports = Course("05001", "体育(三)", "必修", "1", "2", "孙立国", "体育部", "软件工程",
                    "软件学院", ["软件2301"], 30)
    for number, name in classes["软件2301"]:
        sports.record(number, name, "软件2301", "", "", "")
    courses.append(sports)

    out = [gbk(MAGIC)]
    for course in courses:
        out += course.header(len(course.records))
        out += course.records
    path = pathlib.Path(__file__).with_name("demo.txt")
    path.write_bytes(b"".join(line + b"\r\n" for line in out))


if __name__ == "__main__":
    main()
