#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the readable sources of the four sample books (data/books/c1.tsv to c4.tsv).

The vocabulary below is our own: everyday words grouped by theme, with short glosses.
Run it after editing the lists; the build turns each source into a course file.
"""
import pathlib
import struct

BOOKS = {
    1: [
        ("晨间集市", "market n. 市场|stall n. 货摊|vendor n. 小贩|bargain v. 讨价还价|fresh adj. 新鲜的|"
         "basket n. 篮子|early adj. 早的|crowd n. 人群|price n. 价格|cheap adj. 便宜的|"
         "carry v. 搬运|sell out 卖光"),
        ("我的大学", "campus n. 校园|dormitory n. 宿舍|library n. 图书馆|lecture n. 讲座|professor n. 教授|"
         "freshman n. 新生|semester n. 学期|major n. 专业|schedule n. 日程表|credit n. 学分|"
         "sign up 报名|make friends 交朋友|get used to 习惯于"),
        ("雨天的书店", "bookstore n. 书店|shelf n. 书架|novel n. 小说|author n. 作者|browse v. 浏览|"
         "umbrella n. 雨伞|shelter n. 躲避处|quiet adj. 安静的|cover n. 封面|page n. 页|"
         "take shelter 躲避|by chance 偶然"),
        ("第一份工作", "job n. 工作|interview n. 面试|employer n. 雇主|salary n. 薪水|office n. 办公室|"
         "colleague n. 同事|task n. 任务|deadline n. 截止日期|nervous adj. 紧张的|confident adj. 自信的|"
         "apply for 申请|on time 准时|be in charge of 负责"),
        ("骑车上学", "bicycle n. 自行车|wheel n. 车轮|brake n. 刹车|helmet n. 头盔|traffic n. 交通|"
         "corner n. 拐角|ride v. 骑|steep adj. 陡峭的|pedal v. 踩踏板|safe adj. 安全的|"
         "slow down 减速|look out 当心"),
        ("家乡的河", "river n. 河|bank n. 河岸|bridge n. 桥|stream n. 小溪|flow v. 流动|"
         "reflect v. 映出|willow n. 柳树|childhood n. 童年|memory n. 记忆|return v. 回来|"
         "once upon a time 从前|grow up 长大"),
        ("一封旧信", "letter n. 信|envelope n. 信封|stamp n. 邮票|address n. 地址|reply n. 回信|"
         "handwriting n. 笔迹|drawer n. 抽屉|faded adj. 褪色的|sincerely adv. 真诚地|keep v. 保存|"
         "write back 回信|from time to time 不时地"),
        ("节约用水", "water n. 水|tap n. 水龙头|waste v. 浪费|save v. 节约|drop n. 滴|"
         "shortage n. 短缺|supply n. 供应|reuse v. 再利用|drought n. 干旱|careful adj. 小心的|"
         "turn off 关掉|run out of 用完"),
        ("周末野餐", "picnic n. 野餐|blanket n. 毯子|sandwich n. 三明治|lawn n. 草坪|sunshine n. 阳光|"
         "ant n. 蚂蚁|share v. 分享|pack v. 打包|field n. 田野|relax v. 放松|"
         "set out 出发|have fun 玩得开心"),
        ("学做饭", "cook v. 烹调|recipe n. 食谱|kitchen n. 厨房|pan n. 平底锅|salt n. 盐|"
         "boil v. 煮沸|stir v. 搅拌|taste v. 品尝|onion n. 洋葱|delicious adj. 美味的|"
         "cut up 切碎|a pinch of 一撮"),
    ],
    2: [
        ("守时的价值", "punctual adj. 守时的|appointment n. 约会|delay n. 延误|excuse n. 借口|habit n. 习惯|"
         "respect n. 尊重|clock n. 钟|rush v. 匆忙|guest n. 客人|polite adj. 有礼貌的|"
         "keep sb waiting 让某人等候|in advance 提前|make up for 弥补"),
        ("城市的夜晚", "neon n. 霓虹灯|skyline n. 天际线|noise n. 噪音|taxi n. 出租车|avenue n. 大街|"
         "glow v. 发光|crowded adj. 拥挤的|restless adj. 不安宁的|sidewalk n. 人行道|shop window 橱窗|"
         "stay up 熬夜|all night long 通宵"),
        ("科学家的童年", "scientist n. 科学家|curious adj. 好奇的|experiment n. 实验|telescope n. 望远镜|"
         "question n. 问题|discover v. 发现|patience n. 耐心|failure n. 失败|notebook n. 笔记本|"
         "observe v. 观察|insect n. 昆虫|find out 查明|give up 放弃"),
        ("旅行的意义", "journey n. 旅程|passport n. 护照|luggage n. 行李|destination n. 目的地|"
         "culture n. 文化|custom n. 习俗|explore v. 探索|local adj. 当地的|souvenir n. 纪念品|"
         "map n. 地图|set off 出发|on the way 在途中|broaden one's horizons 开阔眼界"),
        ("电话的故事", "telephone n. 电话|invent v. 发明|signal n. 信号|wire n. 电线|voice n. 声音|"
         "distance n. 距离|operator n. 接线员|connect v. 连接|receiver n. 听筒|message n. 消息|"
         "hang up 挂断|get through 接通"),
        ("一场比赛", "match n. 比赛|team n. 队|coach n. 教练|referee n. 裁判|score v. 得分|"
         "goal n. 球门|cheer v. 欢呼|defeat v. 击败|victory n. 胜利|effort n. 努力|"
         "take part in 参加|lose heart 灰心|play fair 公平比赛"),
        ("老人与树", "oak n. 橡树|root n. 根|branch n. 树枝|shade n. 树荫|plant v. 种植|"
         "generation n. 一代人|seed n. 种子|wise adj. 明智的|bench n. 长凳|season n. 季节|"
         "year after year 年复一年|take care of 照顾"),
        ("诚实的商店", "honest adj. 诚实的|customer n. 顾客|change n. 零钱|receipt n. 收据|counter n. 柜台|"
         "trust n. 信任|owner n. 店主|mistake n. 错误|return v. 归还|reward n. 回报|"
         "pay for 付款|by mistake 错误地"),
        ("海边小镇", "harbor n. 港口|fisherman n. 渔夫|boat n. 船|tide n. 潮水|wave n. 波浪|"
         "lighthouse n. 灯塔|shell n. 贝壳|breeze n. 微风|sand n. 沙子|gull n. 海鸥|"
         "go fishing 去钓鱼|at dawn 黎明时"),
        ("学习外语", "language n. 语言|grammar n. 语法|vocabulary n. 词汇|pronounce v. 发音|accent n. 口音|"
         "fluent adj. 流利的|practice v. 练习|translate v. 翻译|dictionary n. 词典|progress n. 进步|"
         "look up 查阅|by heart 凭记忆|little by little 逐渐地"),
    ],
    3: [
        ("时间管理", "priority n. 优先事项|efficient adj. 高效的|postpone v. 推迟|distraction n. 分心的事|"
         "routine n. 日常惯例|plan n. 计划|balance n. 平衡|goal n. 目标|list n. 清单|"
         "focus v. 集中|put off 拖延|make the most of 充分利用|at a time 每次"),
        ("沙漠之旅", "desert n. 沙漠|camel n. 骆驼|dune n. 沙丘|oasis n. 绿洲|thirst n. 口渴|"
         "horizon n. 地平线|compass n. 指南针|scorching adj. 炎热的|endless adj. 无尽的|survive v. 幸存|"
         "lose one's way 迷路|in the distance 在远处"),
        ("音乐的力量", "melody n. 旋律|rhythm n. 节奏|orchestra n. 管弦乐队|violin n. 小提琴|concert n. 音乐会|"
         "emotion n. 情感|audience n. 听众|compose v. 作曲|harmony n. 和谐|inspire v. 激励|"
         "tune in 收听|be moved by 被……感动"),
        ("发明与专利", "invention n. 发明|patent n. 专利|engineer n. 工程师|design n. 设计|prototype n. 原型|"
         "improve v. 改进|machine n. 机器|original adj. 原创的|copy v. 复制|protect v. 保护|"
         "come up with 想出|in theory 理论上"),
        ("城市里的鸟", "sparrow n. 麻雀|pigeon n. 鸽子|nest n. 巢|feather n. 羽毛|wing n. 翅膀|"
         "migrate v. 迁徙|chirp v. 啁啾|rooftop n. 屋顶|feed v. 喂养|species n. 物种|"
         "keep an eye on 留意|in flocks 成群地"),
        ("志愿者", "volunteer n. 志愿者|charity n. 慈善|donate v. 捐赠|community n. 社区|elderly adj. 年长的|"
         "support n. 支持|organize v. 组织|kindness n. 善良|neighbor n. 邻居|benefit v. 有益于|"
         "give a hand 帮忙|care for 照料|make a difference 产生影响"),
        ("山中小屋", "cabin n. 小屋|fireplace n. 壁炉|log n. 原木|valley n. 山谷|mist n. 薄雾|"
         "peak n. 山峰|trail n. 小路|lantern n. 灯笼|silence n. 寂静|cozy adj. 舒适的|"
         "far away from 远离|settle down 安顿下来"),
        ("健康饮食", "diet n. 饮食|vitamin n. 维生素|protein n. 蛋白质|vegetable n. 蔬菜|fruit n. 水果|"
         "sugar n. 糖|exercise n. 锻炼|weight n. 体重|habit n. 习惯|energy n. 精力|"
         "cut down on 减少|keep fit 保持健康"),
        ("失物招领", "lost adj. 丢失的|found v. 找到|wallet n. 钱包|owner n. 失主|claim v. 认领|"
         "notice n. 告示|describe v. 描述|identity n. 身份|grateful adj. 感激的|hand in 上交|"
         "by accident 偶然|get back 取回"),
        ("图书馆之夜", "reading room 阅览室|librarian n. 图书管理员|catalogue n. 目录|borrow v. 借|"
         "due adj. 到期的|renew v. 续借|lamp n. 台灯|silent adj. 沉默的|study v. 学习|"
         "essay n. 论文|stay late 待到很晚|be absorbed in 专心于"),
    ],
    4: [
        ("全球变暖", "climate n. 气候|temperature n. 温度|glacier n. 冰川|emission n. 排放|carbon n. 碳|"
         "fossil fuel 化石燃料|renewable adj. 可再生的|flood n. 洪水|policy n. 政策|threat n. 威胁|"
         "take measures 采取措施|in the long run 从长远看|result in 导致"),
        ("网络时代", "internet n. 互联网|website n. 网站|online adv. 在线|privacy n. 隐私|password n. 密码|"
         "download v. 下载|search v. 搜索|digital adj. 数字的|network n. 网络|access n. 访问|"
         "keep in touch 保持联系|log in 登录"),
        ("成功的秘诀", "success n. 成功|ambition n. 抱负|persist v. 坚持|talent n. 才能|opportunity n. 机会|"
         "setback n. 挫折|determination n. 决心|achieve v. 实现|humble adj. 谦虚的|wisdom n. 智慧|"
         "stick to 坚持|learn from 向……学习|be bound to 必定"),
        ("古城墙", "wall n. 城墙|gate n. 城门|tower n. 塔楼|dynasty n. 朝代|ancient adj. 古代的|"
         "brick n. 砖|restore v. 修复|heritage n. 遗产|tourist n. 游客|history n. 历史|"
         "date back to 追溯到|stand for 象征"),
        ("面对压力", "pressure n. 压力|anxiety n. 焦虑|exam n. 考试|rest n. 休息|sleep n. 睡眠|"
         "cope v. 应对|calm adj. 平静的|talk v. 交谈|advice n. 建议|mood n. 心情|"
         "deal with 处理|calm down 冷静下来|take a break 休息一下"),
        ("太空探索", "space n. 太空|rocket n. 火箭|astronaut n. 宇航员|orbit n. 轨道|planet n. 行星|"
         "satellite n. 卫星|launch v. 发射|gravity n. 引力|mission n. 任务|universe n. 宇宙|"
         "blast off 升空|in the future 将来"),
        ("友谊", "friendship n. 友谊|loyal adj. 忠诚的|trust v. 信任|quarrel n. 争吵|forgive v. 原谅|"
         "understand v. 理解|company n. 陪伴|secret n. 秘密|support v. 支持|lifelong adj. 终身的|"
         "get along with 与……相处|stand by 支持"),
        ("城市交通", "subway n. 地铁|bus stop 公交车站|rush hour 高峰时间|traffic jam 交通堵塞|"
         "commute v. 通勤|pedestrian n. 行人|fare n. 车费|route n. 路线|signal n. 信号灯|"
         "transfer v. 换乘|get off 下车|on foot 步行"),
        ("手工艺人", "craftsman n. 手艺人|workshop n. 作坊|tool n. 工具|wood n. 木头|carve v. 雕刻|"
         "skill n. 技艺|apprentice n. 学徒|detail n. 细节|pride n. 自豪|tradition n. 传统|"
         "pass down 传下来|take pains 下苦功"),
        ("未来的学校", "classroom n. 教室|screen n. 屏幕|project n. 项目|creative adj. 有创造力的|"
         "cooperate v. 合作|teacher n. 教师|knowledge n. 知识|skill n. 技能|future n. 未来|"
         "imagine v. 想象|in groups 分组|keep up with 跟上"),
    ],
}

SHIFT = 10


def entries(words):
    for item in words.split("|"):
        head, gloss = item.rsplit(" ", 1)
        parts = head.split(" ")
        if len(parts) == 2 and parts[1].endswith("."):
            yield parts[0], parts[1], gloss
        else:
            yield head, "phr.", gloss


def main():
    root = pathlib.Path(__file__).resolve().parent.parent / "data" / "books"
    for book, lessons in BOOKS.items():
        rows = []
        slot = 0
        for number, (title, words) in enumerate(lessons, start=1):
            name = f"Unit {number} {title}"
            for serial, (word, pos, gloss) in enumerate(entries(words), start=1):
                section = "Phrases and Expressions" if pos == "phr." else "New Words"
                numbers = struct.pack("<iiH", book * 10000 + number * 100 + serial,
                                      10 + number * 12, 1 if serial <= 3 else 0)
                fields = [str(slot), f"Book {book}", name, word, gloss, pos, section,
                          numbers[0:4].hex(), numbers[4:8].hex(), numbers[8:10].hex()]
                rows.append("\t".join(fields))
                slot += 1
        (root / f"c{book}.tsv").write_text("\n".join(rows) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
