#include "core/base/gError.h"

#include <QCoreApplication>
#include <QVector>

#include <cstdio>
#include <cstdlib>
#include <new>

gRuntimeError::gRuntimeError(int number, const QString& description)
    : number_(number), description_(description),
      what_(QStringLiteral("%1: %2").arg(number).arg(description).toStdString()) {}

QString gErrorText(int number) {
    switch (number) {
    case 5:
        return QStringLiteral("无效的过程调用或参数");
    case 6:
        return QStringLiteral("溢出");
    case 7:
        return QStringLiteral("内存不够");
    case 9:
        return QStringLiteral("下标越界");
    case 11:
        return QStringLiteral("除数为零");
    case 13:
        return QStringLiteral("类型不匹配");
    case 52:
        return QStringLiteral("文件名或文件号错误");
    case 53:
        return QStringLiteral("文件未找到");
    case 55:
        return QStringLiteral("文件已打开");
    case 57:
        return QStringLiteral("设备 I/O 错误");
    case 58:
        return QStringLiteral("文件已存在");
    case 61:
        return QStringLiteral("磁盘已满");
    case 62:
        return QStringLiteral("输入超出文件尾");
    case 70:
        return QStringLiteral("拒绝的权限");
    case 75:
        return QStringLiteral("路径/文件访问错误");
    case 76:
        return QStringLiteral("路径未找到");
    case 91:
        return QStringLiteral("对象变量或 With 块变量未设置");
    case 326:
        return QStringLiteral("找不到资源");
    case 481:
        return QStringLiteral("无效图片");
    default:
        return {};
    }
}

void gRaise(int number, const QString& description) {
    throw gRuntimeError(number, description.isEmpty() ? gErrorText(number) : description);
}

gRuntimeError gCurrentError() {
    try {
        throw;
    } catch (const gRuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return gRuntimeError(gErr::OutOfMemory, gErrorText(gErr::OutOfMemory));
    } catch (const std::exception& e) {
        return gRuntimeError(-1, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return gRuntimeError(-1, QStringLiteral("未知错误"));
    }
}

namespace {
QVector<void (*)()>& endHooks() {
    static QVector<void (*)()> h;
    return h;
}
gEndSeam::Handler gEndHandler = nullptr;
} // namespace

void gAtEndProgram(void (*fn)()) {
    if (!endHooks().contains(fn)) endHooks().append(fn);
}

void gEndSeam::setHandler(Handler h) {
    gEndHandler = h;
}

void gEndProgram(int exitCode) {
    for (auto fn : endHooks()) {
        try {
            fn();
        } catch (...) {
        }
    }
    if (gEndHandler) {
        gEndHandler(exitCode);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exitCode);
}
