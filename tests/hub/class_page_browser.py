#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Drives Debian's chromium over the class page and checks what it shows against the
numbers the test counted from the answers; then requests that must be refused."""
import argparse
import csv
import http.client
import io
import json
import os
import re
import ssl
import sys
import tempfile
import time
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import WebDriverWait

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, flush=True)


def arguments():
    parser = argparse.ArgumentParser()
    for name in ["url", "class", "other-class", "teacher", "password", "other-teacher",
                 "other-password", "slowed-teacher", "slowed-password", "learner-token",
                 "certificate", "expected", "downloads", "artefacts"]:
        parser.add_argument("--" + name, required=True)
    return parser.parse_args()


class Http:
    """Plain HTTPS requests, the server's certificate pinned by its own file."""

    def __init__(self, url, certificate):
        parts = urllib.parse.urlsplit(url)
        self.host, self.port = parts.hostname, parts.port
        self.context = ssl.create_default_context(cafile=certificate)
        self.context.check_hostname = False

    def request(self, method, path, fields=None, cookies=None, headers=None):
        connection = http.client.HTTPSConnection(self.host, self.port, context=self.context,
                                                 timeout=20)
        sent = dict(headers or {})
        body = None
        if fields is not None:
            body = urllib.parse.urlencode(fields)
            sent["Content-Type"] = "application/x-www-form-urlencoded"
        if cookies:
            sent["Cookie"] = "; ".join(f"{k}={v}" for k, v in cookies.items())
        connection.request(method, path, body=body, headers=sent)
        response = connection.getresponse()
        text = response.read().decode("utf-8", "replace")
        set_cookies = {}
        for name, value in response.getheaders():
            if name.lower() == "set-cookie":
                key, _, rest = value.partition("=")
                set_cookies[key] = rest.split(";")[0]
        connection.close()
        return response.status, set_cookies, text


def csrf_of(html):
    found = re.search(r'name="csrf" value="([^"]*)"', html)
    return found.group(1) if found else ""


def sign_in_over_http(web, name, password):
    """A session cookie for `name`, the new password set when the server asks for one."""
    _, cookies, form = web.request("GET", "/")
    status, set_cookies, _ = web.request("POST", "/signin", {"name": name, "password": password,
                                                             "csrf": csrf_of(form)}, cookies)
    check(status == 303, f"{name} signs in over HTTP: {status}")
    session = {"studyhub_session": set_cookies.get("studyhub_session", "")}
    _, _, page = web.request("GET", "/", cookies=session)
    new = password + "-neu-2026"
    status, _, _ = web.request("POST", "/password", {"password": new, "again": new,
                                                     "csrf": csrf_of(page)}, session)
    check(status == 303, f"{name} sets a new password: {status}")
    return session


def start_browser(downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--ignore-certificate-errors", "--window-size=1024,768",
                     "--user-data-dir=" + tempfile.mkdtemp(prefix="class-page-chromium-")]:
        options.add_argument(argument)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_page_load_timeout(30)
    driver.execute_cdp_cmd("Page.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": downloads})
    return driver


def reached(driver, title, what):
    """Whether the page titled `title` came within a bounded wait."""
    try:
        WebDriverWait(driver, 15).until(expected_conditions.title_contains(title))
    except TimeoutException:
        check(False, f"{what}: {driver.title}")


def table(driver):
    return driver.execute_script(
        "return Array.from(document.querySelectorAll('tbody tr')).map(r =>"
        " Array.from(r.children).map(c => c.title ? c.title : c.textContent));")


def first_sign_in(driver, args, shots):
    driver.get(args.url + "/")
    check("教师登录" in driver.title, "the sign-in form comes first")
    driver.save_screenshot(shots("signin"))
    driver.find_element(By.NAME, "name").send_keys(args.teacher)
    driver.find_element(By.NAME, "password").send_keys(args.password)
    driver.find_element(By.CSS_SELECTOR, "button[type=submit]").click()
    reached(driver, "设置新密码", "the first sign-in asks for a new password")
    driver.save_screenshot(shots("password"))
    for name in ["password", "again"]:
        driver.find_element(By.NAME, name).send_keys("一个很长的新密码 2026")
    driver.find_element(By.CSS_SELECTOR, "form.box button[type=submit]").click()
    reached(driver, "我的班级", "after the new password, the classes")


def check_grid(driver, args, expected, shots):
    driver.get(f"{args.url}/class/{args.klass}")
    driver.save_screenshot(shots("grid"))
    lessons = sorted(next(iter(expected["grid"].values())).keys(), key=lambda n: int(n.split()[-1]))
    heads = driver.execute_script(
        "return Array.from(document.querySelectorAll('thead th')).map(h => h.textContent);")
    check([h.split("（")[0] for h in heads[2:]] == lessons, f"the grid's lessons: {heads}")
    rows = table(driver)
    check([r[0] for r in rows] == sorted(expected["grid"], key=int), "the grid's learners")
    for row in rows:
        want = [expected["grid"][row[0]][lesson] for lesson in lessons]
        check(row[2:] == want, f"grid row {row[0]}: {row[2:]} != {want}")
    check(any(r[1] == "<b>赵&钱'</b>" for r in rows), "a name with markup is shown as text")


def check_week(driver, args, expected, shots):
    driver.get(f"{args.url}/class/{args.klass}/week")
    goal = driver.find_element(By.NAME, "minutes")
    goal.clear()
    goal.send_keys("30")
    goal.submit()
    reached(driver, "本周", "the week again after the goal")
    check(driver.find_element(By.NAME, "minutes").get_attribute("value") == "30", "the goal is kept")
    driver.save_screenshot(shots("week"))
    rows = table(driver)
    week = expected["week"]

    def group(number):
        if week[number]["answers"] == 0:
            return 0
        return 1 if week[number]["minutes"] < 30 else 2

    order = sorted(week, key=lambda n: (group(n), int(n)))
    check([r[0] for r in rows] == order, f"the week's order: {[r[0] for r in rows]} != {order}")
    for row in rows:
        want = week[row[0]]
        shown = [row[1], int(row[2]), int(row[3]), int(row[4])]
        check(shown == [want["name"], want["minutes"], want["answers"], want["days"]],
              f"week row {row[0]}: {shown} != {want}")
        state = ("本周未学习" if want["answers"] == 0 else
                 "已达成" if want["minutes"] >= 30 else f"差 {30 - want['minutes']} 分钟")
        check(row[7] == state, f"week row {row[0]} goal: {row[7]} != {state}")
        number = int(row[0])
        if 1008 <= number <= 1012:
            check(row[5].startswith(f"{number - 1002}/10"), f"dictation of {number}: {row[5]}")
            check("词/分" in row[6], f"typing of {number}: {row[6]}")


def check_hardest(driver, args, expected, shots):
    driver.get(f"{args.url}/class/{args.klass}/hardest")
    driver.save_screenshot(shots("hardest"))
    rows = table(driver)
    shown = [{"entry": r[2], "misses": int(r[4]), "learners": int(r[5])} for r in rows]
    check(shown == expected["hardest"], f"the hardest entries: {shown}")
    driver.find_element(By.LINK_TEXT, expected["who_entry"]).click()
    reached(driver, expected["who_entry"], "who missed the hardest entry")
    driver.save_screenshot(shots("who"))
    who = sorted(r[0] for r in table(driver))
    check(who == sorted(expected["who"]), f"who missed {expected['who_entry']}: {who}")


def check_csv(driver, args, expected):
    driver.get(f"{args.url}/class/{args.klass}")
    driver.find_element(By.PARTIAL_LINK_TEXT, "CSV").click()
    path = os.path.join(args.downloads, f"class-{args.klass}-grid.csv")
    deadline = time.monotonic() + 20
    while not os.path.exists(path) and time.monotonic() < deadline:
        time.sleep(0.2)
    check(os.path.exists(path), "the grid's CSV is downloaded")
    if not os.path.exists(path):
        return
    data = open(path, "rb").read()
    check(data.startswith(b"\xef\xbb\xbf"), "the CSV starts with a byte order mark")
    rows = list(csv.reader(io.StringIO(data.decode("utf-8-sig"))))
    check(rows[0][:2] == ["学号", "姓名"] and len(rows) == 1 + len(expected["grid"]),
          "the CSV's header and rows")
    lessons = [h[: -len(" 已学%")] for h in rows[0] if h.endswith(" 已学%")]
    for row in rows[1:]:
        for index, lesson in enumerate(lessons):
            learned, entries = map(int, re.match(r"已学 (\d+)/(\d+)",
                                                 expected["grid"][row[0]][lesson]).groups())
            check(int(row[2 + 3 * index]) == learned * 100 // entries,
                  f"CSV {row[0]} {lesson}: {row[2 + 3 * index]}")


def check_phone(driver, args, shots):
    driver.set_window_size(390, 844)
    driver.get(f"{args.url}/class/{args.klass}")
    driver.save_screenshot(shots("grid-phone"))
    page_width, inner, box_scroll, box_width = driver.execute_script(
        "const box = document.querySelector('.scroll');"
        "return [document.documentElement.scrollWidth, window.innerWidth,"
        " box.scrollWidth, box.clientWidth];")
    check(page_width <= inner, f"the page fits a phone's width: {page_width} > {inner}")
    check(box_scroll > box_width, "the grid scrolls sideways inside its box")
    driver.set_window_size(1024, 768)


def check_refusals(web, args, session, csrf):
    names = "学生1"
    goal = f"/class/{args.klass}/goal"
    bearer = {"Authorization": "Bearer " + args.learner_token}
    for path in [f"/class/{args.klass}", f"/class/{args.klass}/grid.csv"]:
        status, _, body = web.request("GET", path, headers=bearer)
        check(status in (303, 401, 403) and names not in body, f"a learner's token GET {path}")
    status, _, _ = web.request("POST", goal, {"minutes": "5"}, headers=bearer)
    check(status == 403, f"a learner's token cannot set the goal: {status}")

    for fields in [{"minutes": "5"}, {"minutes": "5", "csrf": "wrong"}]:
        status, _, _ = web.request("POST", goal, fields, session)
        check(status == 403, f"a form without its CSRF token is refused: {fields} {status}")
    status, _, _ = web.request("POST", "/signout", {}, session)
    check(status == 403, "signing out needs the token too")

    other = sign_in_over_http(web, args.other_teacher, args.other_password)
    status, _, body = web.request("GET", f"/class/{args.other_class}", cookies=other)
    check(status == 200, f"the other teacher sees their own class: {status}")
    for path in [f"/class/{args.klass}", f"/class/{args.klass}/week",
                 f"/class/{args.klass}/hardest.csv"]:
        status, _, body = web.request("GET", path, cookies=other)
        check(status == 404 and names not in body, f"another teacher's GET {path}: {status}")
    _, _, page = web.request("GET", f"/class/{args.other_class}/week", cookies=other)
    status, _, _ = web.request("POST", goal, {"minutes": "5", "csrf": csrf_of(page)}, other)
    check(status == 404, f"another teacher cannot set the goal: {status}")
    status, _, _ = web.request("GET", f"/class/{args.klass}", cookies=session)
    check(status == 200, "the teacher's session still works after all that")


def check_slowed(web, args):
    _, cookies, form = web.request("GET", "/")
    fields = {"name": args.slowed_teacher, "password": "wrong", "csrf": csrf_of(form)}
    statuses = [web.request("POST", "/signin", fields, cookies)[0] for _ in range(10)]
    check(statuses == [401] * 10, f"wrong passwords: {statuses}")
    fields["password"] = args.slowed_password
    status, _, body = web.request("POST", "/signin", fields, cookies)
    check(status == 429 and "分钟后再试" in body, f"then even the right one waits: {status}")


def main():
    args = arguments()
    args.klass = getattr(args, "class")
    expected = json.load(open(args.expected, encoding="utf-8"))
    folder = os.path.join(args.artefacts, "class_page")
    os.makedirs(folder, exist_ok=True)
    os.makedirs(args.downloads, exist_ok=True)

    def shots(name):
        return os.path.join(folder, name + ".png")

    web = Http(args.url, args.certificate)
    driver = start_browser(args.downloads)
    try:
        first_sign_in(driver, args, shots)
        check_grid(driver, args, expected, shots)
        check_week(driver, args, expected, shots)
        check_hardest(driver, args, expected, shots)
        check_csv(driver, args, expected)
        check_phone(driver, args, shots)
        session = {"studyhub_session": driver.get_cookie("studyhub_session")["value"]}
        driver.get(f"{args.url}/class/{args.klass}/week")
        csrf = driver.find_element(By.NAME, "csrf").get_attribute("value")
    finally:
        driver.quit()
    check_refusals(web, args, session, csrf)
    check_slowed(web, args)
    print(f"{len(failures)} failed checks")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
