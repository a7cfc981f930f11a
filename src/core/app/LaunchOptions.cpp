#include "core/app/LaunchOptions.h"

#include "core/app/BuildInfo.h"

#include <QCommandLineParser>

namespace portiqa {

namespace {

QCommandLineOption hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

LaunchOptions parseLaunchOptions(const QStringList& arguments, QString* error) {
    QCommandLineParser parser;
    // Long-option words after one dash as Qt's own options are written (-platform offscreen);
    // -h and -v are one-letter words, so they still work.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption settingsDir(QStringLiteral("settings-dir"), {}, QStringLiteral("DIR"));
    // Start-up timing for the benchmarks; not part of the documented command line.
    const QCommandLineOption quitAfterShow = hidden(QCommandLineOption(
        QStringLiteral("quit-after-show"), QStringLiteral("窗口显示后即退出。")));
    // Qt reads these itself from the same command line; they are accepted, not interpreted,
    // except that an explicit platform decides whether a display is needed.
    const QCommandLineOption platform =
        hidden(QCommandLineOption(QStringLiteral("platform"), {}, QStringLiteral("NAME")));
    const QCommandLineOption style =
        hidden(QCommandLineOption(QStringLiteral("style"), {}, QStringLiteral("NAME")));
    const QCommandLineOption display =
        hidden(QCommandLineOption(QStringLiteral("display"), {}, QStringLiteral("NAME")));
    parser.addOptions({help, version, settingsDir, quitAfterShow, platform, style, display});
    parser.addPositionalArgument(QStringLiteral("picture"), {});

    LaunchOptions options;
    auto fail = [&](const QString& text) {
        if (error != nullptr) {
            *error = text;
        }
        return options;
    };
    if (!parser.parse(arguments)) {
        return fail(parser.errorText());
    }
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() > 1) {
        return fail(QStringLiteral("一次只能打开一张图片（给出了“%1”和“%2”）。")
                        .arg(pictures.at(0), pictures.at(1)));
    }
    if (error != nullptr) {
        error->clear();
    }
    if (parser.isSet(help)) {
        options.action = LaunchOptions::Action::ShowHelp;
    } else if (parser.isSet(version)) {
        options.action = LaunchOptions::Action::ShowVersion;
    }
    options.settingsDir = parser.value(settingsDir);
    options.platform = parser.value(platform);
    options.quitAfterShow = parser.isSet(quitAfterShow);
    if (!pictures.isEmpty()) {
        options.picture = pictures.constFirst();
    }
    return options;
}

QString usageText(const QString& commands) {
    const QString commandSection =
        commands.isEmpty()
            ? QString()
            : QStringLiteral("\n命令（portiqa 命令 ...，不需要显示器）：\n") + commands;
    return QStringLiteral(
               "用法：portiqa [选项] [图片]\n"
               "制作标准证件头像：在固定像素尺寸的采集框下缩放照片，把框内像素保存为不超过\n"
               "体积上限的 JPEG（或 BMP、GIF、PNG）。\n"
               "\n"
               "参数：\n"
               "  图片                启动时打开的 JPEG、PNG、GIF 或 BMP 图片\n"
               "\n"
               "选项：\n"
               "  --settings-dir 目录 把设置、批量截图任务文件和临时图片放在该目录；默认放在\n"
               "                      便携版程序旁的“头像采集设置”，安装版放在用户数据目录\n"
               "                      （~/.local/share/Portiqa/）\n"
               "  -h, --help          显示本帮助后退出\n"
               "  -v, --version       显示版本后退出\n"
               "%1"
               "\n"
               "环境变量：\n"
               "  PORTIQA_CAMERA      “拍摄”窗口使用的摄像头：pattern 为内置测试图案，\n"
               "                      pattern:宽x高 为指定像素的测试图案，二者都可加\n"
               "                      ,delay=毫秒 让第一帧迟到（如 pattern:1280x720,delay=500），\n"
               "                      none 为没有摄像头；不设置则使用系统的摄像头\n"
               "  DISPLAY             窗口所在的 X 服务器；没有屏幕时这样运行：xvfb-run -a "
               "portiqa\n"
               "\n"
               "退出状态：正常结束为 0，用法错误或无法打开显示器为 2。\n"
               "主页：")
               .arg(commandSection) +
           QString::fromUtf8(build::homepage) + QLatin1Char('\n');
}

QString versionText() {
    return QStringLiteral("Portiqa ") + QString::fromUtf8(build::version);
}

} // namespace portiqa
