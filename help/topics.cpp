#include "topics.h"

namespace help {

const QList<Topic> &topics()
{
    // Top to bottom as the buttons stand in the frame.
    static const QList<Topic> all{
        {"Command1", QStringLiteral("程序简介"),
         QStringLiteral("这是一个制作QQ皮肤的工具,比以前的2个版本有了许多改进,")},
        {"Command2", QStringLiteral("如何使用"),
         QStringLiteral(
             "本程序有8个默认音乐，都保存在本程序中“music”文件夹中。可以选择默认的音乐，除了这8个默认音乐之外，用户还可"
             "以使用“Morvane背景音乐添加程序”来自行添加音乐。在运行本程序前，先打开你的QQ文件夹中的skins这个文件夹，这"
             "个文件夹中存放着你的QQ的所有皮肤，在它里面新建一个文件夹，名字为你的QQ皮肤名字，例如，你想要制作的皮肤的"
             "名称为“你好”，那么，这个文件夹的名称为“你好”。然后将你制作QQ皮肤所用到的所有图片都放在那里。然后在本程序"
             "中“输入背景图片名称”选项中输入的的背景图片的名称（需要扩展名，图片必须是JPG格式的），在“宽度与高度”选项中"
             "输入你的图片的宽与高（可以省略），在“标题栏”选项中选择是否需要标题栏，如果需要，输入标题栏图片的名称。在“"
             "菜单”选项中输入菜单LOGO图片名称（LOGO图片为QQ菜单中左边的图片），在“皮肤路径”中输入你刚才新建的文件夹的完"
             "整路径，点“生成”就可以了。")},
        {"Command3", QStringLiteral("破解说明"),
         QStringLiteral("我是一个普通的电脑爱好者，平时喜欢自己动手写一些小程序，这个制作QQ皮肤的工具就是我在业余时间里"
                        "慢慢做出来的。如果你在使用中遇到了什么问题，或者有什么好的想法，欢迎给我写信，我会尽快回复你。"
                        "我的电子邮件：morvane@example.com")},
        {"Command5", QStringLiteral("赞助作者"),
         QStringLiteral(
             "如果你喜欢这个软件，愿意支持我把它做得更好，请和我联系。赞助请寄到：虚构省示例市样板路1号 Morvane "
             "收，邮编000000。另外，我现在还没有地方发布自己的程序，如果你知道哪里有免费的网页空间，或者能帮我申请到一"
             "个，我将非常感谢！")},
        {"Command6", QStringLiteral("软件信息"),
         QStringLiteral("上一个版本发布以后，很多朋友来信希望我再做一个新的版本，于是就有了现在这个版本。这次换成了蓝色"
                        "的界面，希望大家喜欢。用过以后有什么意见或建议，请发电子邮件告诉我：morvane@example.com")},
    };
    return all;
}

} // namespace help
