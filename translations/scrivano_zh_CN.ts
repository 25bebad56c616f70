<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>CFuncListDlg</name>
    <message>
        <location filename="../src/app/FuncListDlg.cpp" line="36"/>
        <location filename="../src/app/ScrivanoApp.cpp" line="78"/>
        <source>Function List</source>
        <translation>功能列表</translation>
    </message>
</context>
<context>
    <name>CGeneralDialog</name>
    <message>
        <location filename="../src/app/GeneralDialog.cpp" line="43"/>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../src/app/GeneralDialog.cpp" line="44"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../src/app/GeneralDialog.cpp" line="45"/>
        <source>General Selection</source>
        <translation>通用选择</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="73"/>
        <source>The encoding and line break of the active document&apos;s file</source>
        <translation>当前文档文件的编码和换行符</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="86"/>
        <source>Reopen with &amp;Encoding</source>
        <translation>以指定编码重新打开(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="87"/>
        <source>Read the active document&apos;s file again in another encoding</source>
        <translation>以另一种编码重新读取当前文档的文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="92"/>
        <source>Read the active document&apos;s file again as %1</source>
        <translation>以 %1 重新读取当前文档的文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="118"/>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="124"/>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="126"/>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>打开(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="126"/>
        <source>Open an existing document</source>
        <translation>打开已有文档</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="128"/>
        <source>&amp;Close	Ctrl+F4</source>
        <translation>关闭(&amp;C)	Ctrl+F4</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="128"/>
        <source>Close the active document</source>
        <translation>关闭当前文档</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="131"/>
        <source>&amp;Save	Ctrl+S</source>
        <translation>保存(&amp;S)	Ctrl+S</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="131"/>
        <source>Save the active document</source>
        <translation>保存当前文档</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="133"/>
        <source>Save &amp;As...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="133"/>
        <source>Save the active document with a new name</source>
        <translation>以新名称保存当前文档</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="138"/>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>打印(&amp;P)...	Ctrl+P</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="138"/>
        <source>Print the active document</source>
        <translation>打印当前文档</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="140"/>
        <source>Print Pre&amp;view</source>
        <translation>打印预览(&amp;V)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="140"/>
        <source>Display full pages</source>
        <translation>显示整页</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="143"/>
        <source>Recent &amp;Files</source>
        <translation>最近的文件(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="146"/>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="146"/>
        <source>Quit the application; prompts to save documents</source>
        <translation>退出程序;提示保存文档</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="149"/>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="156"/>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation>撤销(&amp;U)	Ctrl+Z</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="156"/>
        <source>Undo the last action</source>
        <translation>撤销上一步操作</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="161"/>
        <source>Cu&amp;t	Ctrl+X</source>
        <translation>剪切(&amp;T)	Ctrl+X</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="161"/>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>剪切所选内容并放到剪贴板</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="164"/>
        <source>&amp;Copy	Ctrl+C</source>
        <translation>复制(&amp;C)	Ctrl+C</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="164"/>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>复制所选内容并放到剪贴板</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="169"/>
        <source>&amp;Paste	Ctrl+V</source>
        <translation>粘贴(&amp;P)	Ctrl+V</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="169"/>
        <source>Insert Clipboard contents</source>
        <translation>插入剪贴板内容</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="180"/>
        <source>Copy &amp;All</source>
        <translation>全部复制(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="180"/>
        <source>Copy all text from Current Window to Clipboard</source>
        <translation>将当前窗口的全部文本复制到剪贴板</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="185"/>
        <source>Paste A&amp;ll</source>
        <translation>全部粘贴(&amp;L)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="185"/>
        <source>Paste all text from Clipboard to Current Window</source>
        <translation>用剪贴板的全部文本替换当前窗口的内容</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="189"/>
        <source>&amp;Empty Content</source>
        <translation>清空内容(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="189"/>
        <source>Empty Content</source>
        <translation>清空内容</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="195"/>
        <source>Set &amp;Parameters</source>
        <translation>设置参数(&amp;P)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="195"/>
        <source>Choose the active setting of each parameter</source>
        <translation>为每个参数选择当前使用的设置</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="198"/>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="200"/>
        <source>&amp;Toolbar</source>
        <translation>工具栏(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="201"/>
        <source>Show or hide the toolbar</source>
        <translation>显示或隐藏工具栏</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="203"/>
        <source>&amp;Status Bar</source>
        <translation>状态栏(&amp;S)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="206"/>
        <source>Show or hide the status bar</source>
        <translation>显示或隐藏状态栏</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="208"/>
        <source>&amp;Function List</source>
        <translation>功能列表(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="208"/>
        <source>Open Function List</source>
        <translation>打开功能列表</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="216"/>
        <source>&amp;Window</source>
        <translation>窗口(&amp;W)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="217"/>
        <source>&amp;Cascade</source>
        <translation>层叠(&amp;C)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="217"/>
        <source>Arrange windows so they overlap</source>
        <translation>层叠排列窗口</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="219"/>
        <source>&amp;Tile</source>
        <translation>平铺(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="219"/>
        <source>Arrange windows as non-overlapping tiles</source>
        <translation>将窗口平铺排列,互不重叠</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="221"/>
        <source>&amp;Next Window</source>
        <translation>下一个窗口(&amp;N)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="221"/>
        <source>Switch to the next window</source>
        <translation>切换到下一个窗口</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="246"/>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="247"/>
        <source>&amp;Operational Manual</source>
        <translation>操作手册(&amp;O)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="247"/>
        <source>Open the Operational Manual</source>
        <translation>打开操作手册</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="250"/>
        <source>&amp;About Scrivano...</source>
        <translation>关于 Scrivano(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="251"/>
        <source>Display program information, version number and copyright</source>
        <translation>显示程序信息、版本号和版权</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="303"/>
        <source>Open this document</source>
        <translation>打开此文档</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="336"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="336"/>
        <location filename="../src/app/MainFrame.cpp" line="350"/>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="350"/>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="376"/>
        <source>About Scrivano</source>
        <translation>关于 Scrivano</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="382"/>
        <source>Scrivano Version 2.56</source>
        <translation>Scrivano 版本 2.56</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="384"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>CScrivanoApp</name>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="79"/>
        <source>Processing %1 task(s). Please wait...</source>
        <translation>正在处理 %1 个任务,请稍候...</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="194"/>
        <source>The companion program cannot reach Scrivano: no socket</source>
        <translation>伴随程序无法连接 Scrivano:没有套接字</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="205"/>
        <source>Initialization...</source>
        <translation>正在初始化...</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="223"/>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="369"/>
        <source>The Input text could not be written to %1</source>
        <translation>无法将输入文本写入 %1</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="458"/>
        <source>Operational Manual</source>
        <translation>操作手册</translation>
    </message>
</context>
<context>
    <name>EncodingMessages</name>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="34"/>
        <source>1 byte sequence (at byte offset %1)</source>
        <translation>1 个字节序列(位于字节偏移 %1)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="35"/>
        <source>%1 byte sequences (the first at byte offset %2)</source>
        <translation>%1 个字节序列(第一个位于字节偏移 %2)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="61"/>
        <source>%1 (%2, line %3, column %4)</source>
        <translation>%1(%2,第 %3 行,第 %4 列)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="63"/>
        <source>The character (%1, line %2, column %3)</source>
        <translation>该字符(%1,第 %2 行,第 %3 列)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="71"/>
        <source>%1 with BOM</source>
        <translation>%1 带 BOM</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="75"/>
        <source>%1 (read with loss)</source>
        <translation>%1(读取有损)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="82"/>
        <source>%1 is not valid %2 text: %3 could not be read and shows as &quot;�&quot;.</source>
        <translation>%1 不是有效的 %2 文本:%3 无法读取,显示为“�”。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="83"/>
        <source>%1 is not valid %2 text: %3 could not be read and show as &quot;�&quot;.</source>
        <translation>%1 不是有效的 %2 文本:%3 无法读取,显示为“�”。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="87"/>
        <source>Saved without an edit, the file keeps its bytes; after an edit, Scrivano asks before saving it. File &gt; Reopen with Encoding reads it in another encoding.</source>
        <translation>未经编辑保存时,文件保留原字节;编辑后,Scrivano 会在保存前询问。“文件 &gt; 以指定编码重新打开”可用另一种编码读取它。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="95"/>
        <source>Save it as %1? If not, nothing is saved.</source>
        <translation>保存为 %1 吗?否则不保存任何内容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="96"/>
        <source>Save it as %1 instead? If not, nothing is saved.</source>
        <translation>改为保存为 %1 吗?否则不保存任何内容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="97"/>
        <source>%1 cannot be stored in %2, the encoding of %3.</source>
        <translation>%1 无法用 %2(%3 的编码)存储。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="105"/>
        <source>%1 was not read as %2 without loss: %3 shows as &quot;�&quot;, and its bytes cannot be written back.</source>
        <translation>%1 未能以 %2 无损读取:%3 显示为“�”,其原字节无法写回。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="108"/>
        <source>%1 was not read as %2 without loss: %3 show as &quot;�&quot;, and their bytes cannot be written back.</source>
        <translation>%1 未能以 %2 无损读取:%3 显示为“�”,其原字节无法写回。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="113"/>
        <source>Save it as %1, with &quot;�&quot; in its place? If not, nothing is saved.</source>
        <translation>保存为 %1,并在原处写入“�”吗?否则不保存任何内容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="114"/>
        <source>Save it as %1 instead, with &quot;�&quot; in its place? If not, nothing is saved.</source>
        <translation>改为保存为 %1,并在原处写入“�”吗?否则不保存任何内容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="117"/>
        <source>Save it as %1, with &quot;�&quot; in their place? If not, nothing is saved.</source>
        <translation>保存为 %1,并在这些位置写入“�”吗?否则不保存任何内容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="118"/>
        <source>Save it as %1 instead, with &quot;�&quot; in their place? If not, nothing is saved.</source>
        <translation>改为保存为 %1,并在这些位置写入“�”吗?否则不保存任何内容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="125"/>
        <source>%1 has edits that are not saved. Reopen it as %2 and lose them?</source>
        <translation>%1 有未保存的编辑。要以 %2 重新打开并放弃这些编辑吗?</translation>
    </message>
</context>
<context>
    <name>SystemMessages</name>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="18"/>
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="19"/>
        <source>Can not open the file!</source>
        <translation>无法打开文件!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="20"/>
        <source>The file does not exist !</source>
        <translation>文件不存在!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="21"/>
        <source>Missing bracket !</source>
        <translation>缺少括号!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="22"/>
        <source>Source and target are not in pairs!</source>
        <translation>原文和译文未成对!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="23"/>
        <source>00. Return to Scrivano</source>
        <translation>00. 返回 Scrivano</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="24"/>
        <source>01. Align source and target</source>
        <translation>01. 对齐原文和译文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="25"/>
        <source>02. Clean various tags</source>
        <translation>02. 清除各种标记</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="26"/>
        <source>03. Combine windows/files text</source>
        <translation>03. 合并窗口/文件文本</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="27"/>
        <source>04. Delete lines with specified substring</source>
        <translation>04. 删除含指定子串的行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="28"/>
        <source>05. Extract ending lines</source>
        <translation>05. 提取结尾行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="29"/>
        <source>06. Extract webpage text</source>
        <translation>06. 提取网页文本</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="30"/>
        <source>07. Generate Trados format</source>
        <translation>07. 生成 Trados 格式</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="31"/>
        <source>08. Link adjacent lines</source>
        <translation>08. 连接相邻行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="32"/>
        <source>09. Make lowercase</source>
        <translation>09. 转为小写</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="33"/>
        <source>10. Make uppercase</source>
        <translation>10. 转为大写</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="34"/>
        <source>11. Open file(s)</source>
        <translation>11. 打开文件</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="35"/>
        <source>12. Remove redundant empty lines</source>
        <translation>12. 删除多余空行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="36"/>
        <source>13. Replace text in Word documents</source>
        <translation>13. 替换 Word 文档中的文本</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="37"/>
        <source>14. Split English and Chinese</source>
        <translation>14. 拆分英文和中文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="38"/>
        <source>15. Split lines</source>
        <translation>15. 拆分行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="39"/>
        <source>16. Trados to segmentation format</source>
        <translation>16. Trados 转为分段格式</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="40"/>
        <source>17. Word processing</source>
        <translation>17. Word 处理</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="41"/>
        <source>18. Exit Scrivano</source>
        <translation>18. 退出 Scrivano</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="43"/>
        <source>Please select an option:</source>
        <translation>请选择一个选项:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="44"/>
        <source>Please select or set an option:</source>
        <translation>请选择或设置一个选项:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="45"/>
        <source>Please set a separator: </source>
        <translation>请设置分隔符:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="46"/>
        <source>Please set a minimum and maximum word number and repetion:</source>
        <translation>请设置最少词数、最多词数和重复次数:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="47"/>
        <source>Specify a suitable time period(msecs) for copying text in a window: </source>
        <translation>请指定在窗口中复制文本的合适时间(毫秒):</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="49"/>
        <source>1. Source + Return + Target -&gt; Source + Tab + Target</source>
        <translation>1. 原文 + 回车 + 译文 -&gt; 原文 + 制表符 + 译文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="50"/>
        <source>2. Source + Tab + Target -&gt; Source + Return + Target</source>
        <translation>2. 原文 + 制表符 + 译文 -&gt; 原文 + 回车 + 译文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="51"/>
        <source>3. Src file + ===== + Trg file  -&gt; Source + Tab + Target</source>
        <translation>3. 原文文件 + ===== + 译文文件  -&gt; 原文 + 制表符 + 译文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="52"/>
        <source>4. TMX format  -&gt; Source + Tab + Target</source>
        <translation>4. TMX 格式  -&gt; 原文 + 制表符 + 译文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="53"/>
        <source>1. Up down</source>
        <translation>1. 上下</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="54"/>
        <source>2. Left right</source>
        <translation>2. 左右</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="55"/>
        <source>3. Down up</source>
        <translation>3. 下上</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="56"/>
        <source>4. Right left </source>
        <translation>4. 右左</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="57"/>
        <source>1. Remove DejaVu tags </source>
        <translation>1. 删除 DejaVu 标记</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="58"/>
        <source>2. Remove &lt;pt&gt; &lt;ph&gt; tags</source>
        <translation>2. 删除 &lt;pt&gt; &lt;ph&gt; 标记</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="59"/>
        <source>1. Add space between Chinese and English</source>
        <translation>1. 在中文和英文之间加空格</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="60"/>
        <source>2. Combine source and target pages</source>
        <translation>2. 合并原文页和译文页</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="61"/>
        <source>3. Connect broken lines</source>
        <translation>3. 连接断行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="62"/>
        <source>4. Duplicate source by paragraph (source -&gt; source + Spaces/Return + source)</source>
        <translation>4. 逐段复制原文(原文 -&gt; 原文 + 空格/回车 + 原文)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="64"/>
        <source>5. Delete source in paragraph (source + Soft Return + target -&gt; target)</source>
        <translation>5. 删除段内原文(原文 + 软回车 + 译文 -&gt; 译文)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="66"/>
        <source>6. Delete source paragraphs (source + Hard Return + target -&gt; target)</source>
        <translation>6. 删除原文段落(原文 + 硬回车 + 译文 -&gt; 译文)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="68"/>
        <source>7. Extract phrases</source>
        <translation>7. 提取短语</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="69"/>
        <source>8. Filter content</source>
        <translation>8. 筛选内容</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="70"/>
        <source>9. Highlight numbers</source>
        <translation>9. 突出显示数字</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="71"/>
        <source>10. Remove DejaVu tags</source>
        <translation>10. 删除 DejaVu 标记</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="72"/>
        <source>11. Source file + target file -&gt; source || target file (paragraph by paragraph)</source>
        <translation>11. 原文文件 + 译文文件 -&gt; 原文 || 译文文件(逐段)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="74"/>
        <source>1. Hard Return</source>
        <translation>1. 硬回车</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="75"/>
        <source>2. Soft Return</source>
        <translation>2. 软回车</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="76"/>
        <source>3. Spaces</source>
        <translation>3. 空格</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="77"/>
        <source>Keep source and target in different lines ?</source>
        <translation>原文和译文分行保留吗?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="78"/>
        <source>Replace RETURN with SPACE ? (if No, with EMPTY STRING)</source>
        <translation>用空格替换回车吗?(选“否”则替换为空字符串)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="79"/>
        <source>Delete number-only lines ?</source>
        <translation>删除只含数字的行吗?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="80"/>
        <source>Connect broken lines with Space? (If No, with nothing.)</source>
        <translation>用空格连接断行吗?(选“否”则直接连接。)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="81"/>
        <source>Allow same source and target paragraphs ?</source>
        <translation>允许原文段落与译文段落相同吗?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="82"/>
        <source>Keep original input text?</source>
        <translation>保留原来的输入文本吗?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="83"/>
        <source>Install the macro there now?</source>
        <translation>现在把宏安装到那里吗?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="85"/>
        <source>Processing completed !</source>
        <translation>处理完成!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="86"/>
        <source>Processing failed !</source>
        <translation>处理失败!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="87"/>
        <source>No parameter set !</source>
        <translation>未设置参数!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="88"/>
        <source>Wrong operation number!</source>
        <translation>操作编号错误!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="89"/>
        <source>Something wrong!</source>
        <translation>出错了!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="90"/>
        <source>Wrong Trados format</source>
        <translation>Trados 格式错误</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="91"/>
        <source>Wrong tag:</source>
        <translation>错误的标记:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="92"/>
        <source>{} doesn&apos;t match !</source>
        <translation>{} 不匹配!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="93"/>
        <source>Wrong format found!</source>
        <translation>发现格式错误!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="94"/>
        <source>Could not find a parameter !</source>
        <translation>找不到参数!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="95"/>
        <source>Wrong parameter format!</source>
        <translation>参数格式错误!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="96"/>
        <source>Could not get another section!</source>
        <translation>无法获取下一节!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="97"/>
        <source>Cannot set parameter !</source>
        <translation>无法设置参数!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="98"/>
        <source>Must keep at least one setting for this parameter!</source>
        <translation>此参数必须至少保留一个设置!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="99"/>
        <source>Failed to create Document object</source>
        <translation>无法创建文档对象</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="100"/>
        <source>No OFFICE installed</source>
        <translation>未安装 OFFICE</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="101"/>
        <source>Failed to open the file</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="102"/>
        <source>Failed to select</source>
        <translation>无法选择</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="103"/>
        <source>Application is empty. Failed to create Documents!</source>
        <translation>应用程序为空。无法创建文档集合!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="104"/>
        <source>Failed to create Documents</source>
        <translation>无法创建文档集合</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="105"/>
        <source>Failed to create Word</source>
        <translation>无法创建 Word 文档</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="106"/>
        <source>Failed to obtain selection</source>
        <translation>无法获取选区</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="107"/>
        <source>The combined document would replace the source or the target file.</source>
        <translation>合并后的文档会覆盖原文文件或译文文件。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="108"/>
        <source>Failed to open document.</source>
        <translation>无法打开文档。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="109"/>
        <source>Failed to save document.</source>
        <translation>无法保存文档。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="110"/>
        <source>The Operational Manual was not found:</source>
        <translation>找不到操作手册:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="111"/>
        <source>Wrong translation address:</source>
        <translation>翻译网址错误:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="112"/>
        <source>Please Set Parameters again.</source>
        <translation>请重新设置参数。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="113"/>
        <source>Failed to copy, please retry later.</source>
        <translation>复制失败,请稍后重试。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="114"/>
        <source>Source is empty !</source>
        <translation>原文为空!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="115"/>
        <source>Fail to CreateProcess():</source>
        <translation>无法创建进程 (CreateProcess()):</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="116"/>
        <source>Cannot launch vexo1.exe!</source>
        <translation>无法启动 vexo1.exe!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="117"/>
        <source>The companion program showed no window:</source>
        <translation>伴随程序没有显示窗口:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="118"/>
        <source>The companion program vexo1 is not there.</source>
        <translation>伴随程序 vexo1 不在那里。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="119"/>
        <source>The companion program ended without sending the pages&apos; text.</source>
        <translation>伴随程序未发送网页文本就结束了。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="120"/>
        <source>The companion program&apos;s window closed without sending the pages&apos; text.</source>
        <translation>伴随程序的窗口未发送网页文本就关闭了。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="122"/>
        <source>Parameter 15 names the page; it is opened when automatic translation is switched on.</source>
        <translation>参数 15 指定该网页;打开自动翻译时会打开它。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="124"/>
        <source>No Find and Replace window of LibreOffice Writer is open. Open it in a document (Ctrl+H), type what to find and what to replace it with, and choose this entry again.</source>
        <translation>没有打开 LibreOffice Writer 的“查找和替换”窗口。请在文档中打开它(Ctrl+H),输入要查找的内容和替换内容,然后再次选择此条目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="128"/>
        <source>The Find and Replace window closed or changed its title meanwhile.</source>
        <translation>“查找和替换”窗口在此期间已关闭或更改了标题。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="129"/>
        <source>The Find and Replace window did not come to the front.</source>
        <translation>“查找和替换”窗口没有来到前台。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="130"/>
        <source>The Find and Replace window did not take the keys.</source>
        <translation>“查找和替换”窗口没有接收按键。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="131"/>
        <source>The Find field of the Find and Replace window is empty.</source>
        <translation>“查找和替换”窗口的“查找”字段为空。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="132"/>
        <source>Nothing was replaced, and the Input window keeps its text.</source>
        <translation>未替换任何内容,输入窗口保留其文本。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="133"/>
        <source>Ctrl+N in the Writer window opened a new window instead of handing Scrivano the next paragraph; Scrivano closed that window again without saving it and stopped.</source>
        <translation>在 Writer 窗口中按 Ctrl+N 打开了一个新窗口,而没有把下一段交给 Scrivano;Scrivano 已关闭该窗口(未保存)并停止。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="136"/>
        <source>Ctrl+N in LibreOffice Writer does not hand Scrivano the next paragraph yet, so Scrivano changed nothing in the document.</source>
        <translation>LibreOffice Writer 中的 Ctrl+N 还不会把下一段交给 Scrivano,因此 Scrivano 没有更改文档中的任何内容。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="140"/>
        <source>Scrivano&apos;s NextPiece macro is installed in the LibreOffice profile that Writer uses:</source>
        <translation>Scrivano 的 NextPiece 宏已安装在 Writer 使用的 LibreOffice 配置文件中:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="142"/>
        <source>Scrivano&apos;s NextPiece macro is missing or out of date in the LibreOffice profile that Writer uses:</source>
        <translation>Writer 使用的 LibreOffice 配置文件中没有 Scrivano 的 NextPiece 宏,或宏已过时:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="145"/>
        <source>but the LibreOffice that shows the document has not loaded it. LibreOffice loads macros only when it starts: quit LibreOffice (Ctrl+Q), open the document again, and double-click the entry again.</source>
        <translation>但显示该文档的 LibreOffice 尚未加载它。LibreOffice 只在启动时加载宏:请退出 LibreOffice(Ctrl+Q),重新打开文档,然后再次双击该条目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="150"/>
        <source>LibreOffice loads macros only when it starts: quit LibreOffice (Ctrl+Q), open the document again, and double-click the entry again.</source>
        <translation>LibreOffice 只在启动时加载宏:请退出 LibreOffice(Ctrl+Q),重新打开文档,然后再次双击该条目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="153"/>
        <source>The LibreOffice that shows the document has taken it up: double-click the entry again.</source>
        <translation>显示该文档的 LibreOffice 已加载它:请再次双击该条目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="156"/>
        <source>Scrivano stopped waiting for these office windows to close and goes on without closing them; close them before you open the documents it writes:</source>
        <translation>Scrivano 不再等待这些办公软件窗口关闭,将在不关闭它们的情况下继续;打开它写出的文档之前,请先关闭这些窗口:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="160"/>
        <source>No program could open it with the desktop&apos;s default application.</source>
        <translation>没有程序能用桌面的默认应用程序打开它。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="161"/>
        <source>To choose the program for this kind of file, install xdg-utils and run:</source>
        <translation>要为这类文件选择程序,请安装 xdg-utils 并运行:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="163"/>
        <source>This is a Wayland session: Scrivano sees only the windows of programs that run under XWayland. Start a program that way to make it reachable, for instance LibreOffice Writer with SAL_USE_VCLPLUGIN=gen (or GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, Chromium or Chrome with --ozone-platform=x11, other GTK programs with GDK_BACKEND=x11 and Qt programs with QT_QPA_PLATFORM=xcb.</source>
        <translation>这是 Wayland 会话:Scrivano 只能看到在 XWayland 下运行的程序的窗口。请以这种方式启动程序,使其可被访问,例如 LibreOffice Writer 使用 SAL_USE_VCLPLUGIN=gen(或 GDK_BACKEND=x11),Firefox 使用 MOZ_ENABLE_WAYLAND=0,Chromium 或 Chrome 使用 --ozone-platform=x11,其他 GTK 程序使用 GDK_BACKEND=x11,Qt 程序使用 QT_QPA_PLATFORM=xcb。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="170"/>
        <source>This is a Wayland session. Scrivano reaches other programs&apos; windows through X11, so it sees only the programs that run under XWayland; windows of programs that run natively on Wayland are invisible to it.</source>
        <translation>这是 Wayland 会话。Scrivano 通过 X11 访问其他程序的窗口,因此只能看到在 XWayland 下运行的程序;原生运行于 Wayland 的程序窗口对它不可见。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="175"/>
        <source>These functions reach only X11 windows: 0 (the window at the Function List&apos;s corner), 2 and 16 in a Writer window, 3 in window mode, 13 (Find and Replace in Writer), automatic translation (parameter 14), closing pop-up windows and the captions shown on other programs&apos; windows. Where they look for a window and find none they say &quot;No X11 window found&quot;. The text functions, files and web pages (entry 6) work as anywhere else.</source>
        <translation>以下功能只能访问 X11 窗口:0(功能列表角落处的窗口)、在 Writer 窗口中的 2 和 16、窗口模式下的 3、13(Writer 中的查找和替换)、自动翻译(参数 14)、关闭弹出窗口,以及显示在其他程序窗口上的标题。它们找不到窗口时会提示“No X11 window found”(未找到 X11 窗口)。文本功能、文件和网页(条目 6)照常工作。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="182"/>
        <source>To make a program reachable, start it under XWayland: LibreOffice Writer with SAL_USE_VCLPLUGIN=gen (or GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, Chromium or Chrome with --ozone-platform=x11, other GTK programs with GDK_BACKEND=x11 and Qt programs with QT_QPA_PLATFORM=xcb.</source>
        <translation>要让程序可被访问,请在 XWayland 下启动它:LibreOffice Writer 使用 SAL_USE_VCLPLUGIN=gen(或 GDK_BACKEND=x11),Firefox 使用 MOZ_ENABLE_WAYLAND=0,Chromium 或 Chrome 使用 --ozone-platform=x11,其他 GTK 程序使用 GDK_BACKEND=x11,Qt 程序使用 QT_QPA_PLATFORM=xcb。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="188"/>
        <source>This notice is shown once; the Operational Manual says the same under &quot;Wayland sessions&quot;.</source>
        <translation>此提示只显示一次;操作手册的“Wayland 会话”一节有相同的说明。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="192"/>
        <source>Timer period (milliseconds)</source>
        <translation>定时器周期(毫秒)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="193"/>
        <source>Launch menu: files and programs, tab-separated; &apos;;&apos; joins several paths in one item</source>
        <translation>启动菜单:文件和程序,以制表符分隔;“;”在一项中连接多个路径</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="195"/>
        <source>Window titles closed automatically when in the foreground, tab-separated</source>
        <translation>在前台时自动关闭的窗口标题,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="197"/>
        <source>Process watch: largest working set in MB (-1 or empty: off)</source>
        <translation>进程监视:最大工作集(MB)(-1 或空:关闭)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="198"/>
        <source>Memory monitor: least free memory in MB (-1 or empty: off)</source>
        <translation>内存监视:最少可用内存(MB)(-1 或空:关闭)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="199"/>
        <source>Split English and Chinese: whole lines dropped, tab-separated</source>
        <translation>拆分英文和中文:丢弃的整行,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="200"/>
        <source>Characters counted as Western besides ASCII</source>
        <translation>除 ASCII 外算作西文的字符</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="201"/>
        <source>Neutral characters for the English test, tab-separated</source>
        <translation>英文判断中的中性字符,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="202"/>
        <source>Split English and Chinese: run lengths N/M</source>
        <translation>拆分英文和中文:连续长度 N/M</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="203"/>
        <source>Delete lines with specified substring: substrings, tab-separated</source>
        <translation>删除含指定子串的行:子串,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="204"/>
        <source>Combine windows/files text: window-class options, tab-separated</source>
        <translation>合并窗口/文件文本:窗口类选项,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="205"/>
        <source>Right-click shortcut in browser windows (0: off)</source>
        <translation>浏览器窗口中的右键快捷方式(0:关闭)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="206"/>
        <source>Browser title words that make Scrivano press Escape, tab-separated</source>
        <translation>使 Scrivano 按 Escape 的浏览器标题词,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="207"/>
        <source>Automatic translation: window classes, tab-separated (&apos;;&apos; after a class: selection mode)</source>
        <translation>自动翻译:窗口类,以制表符分隔(类名后加“;”:选区模式)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="210"/>
        <source>Automatic translation: longest wait in milliseconds (0: off)</source>
        <translation>自动翻译:最长等待时间(毫秒)(0:关闭)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="211"/>
        <source>Translation page settings, tab-separated fields</source>
        <translation>翻译网页设置,字段以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="212"/>
        <source>Not used</source>
        <translation>未使用</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="213"/>
        <source>Function List entry 0 also reports the window at the list&apos;s corner (0: no)</source>
        <translation>功能列表条目 0 同时报告列表角落处的窗口(0:否)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="215"/>
        <source>Word processing: marker text 1</source>
        <translation>Word 处理:标记文本 1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="216"/>
        <source>Word processing: marker text 2</source>
        <translation>Word 处理:标记文本 2</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="217"/>
        <source>Word processing: phrases to highlight, tab-separated</source>
        <translation>Word 处理:要突出显示的短语,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="218"/>
        <source>Phrase extraction: preset answers (minimum words, maximum words, repetitions)</source>
        <translation>短语提取:预设答案(最少词数、最多词数、重复次数)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="220"/>
        <source>Phrase extraction: stop list, tab-separated</source>
        <translation>短语提取:排除列表,以制表符分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="222"/>
        <source>at the Function List&apos;s corner</source>
        <translation>于功能列表的角落处</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="223"/>
        <source>a folder of that name is in the way.</source>
        <translation>有一个同名文件夹挡住了它。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="224"/>
        <source>its folder does not exist.</source>
        <translation>它所在的文件夹不存在。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="225"/>
        <source>its folder is read-only (no permission to write there).</source>
        <translation>它所在的文件夹是只读的(没有写入权限)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="231"/>
        <source>Could not open &quot;%1&quot; file.</source>
        <translation>无法打开文件“%1”。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="232"/>
        <source>Cannot open &quot;%1&quot;.</source>
        <translation>无法打开“%1”。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="233"/>
        <source>Save changes to %1?</source>
        <translation>保存对 %1 的更改吗?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="234"/>
        <source>Spent %1/%2 (characters/seconds) to process the file(s).</source>
        <translation>处理文件用了 %1/%2(字符数/秒数)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="235"/>
        <source>Spent %1 seconds / %2 windows to combine %3 characters</source>
        <translation>用了 %1 秒 / %2 个窗口,合并了 %3 个字符</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="236"/>
        <source>Processing completed !  ( %1 documents )</source>
        <translation>处理完成!(%1 个文档)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="237"/>
        <source>The Replace field is empty. Delete every &quot;%1&quot; in the open documents?</source>
        <translation>“替换”字段为空。要删除打开的文档中所有的“%1”吗?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="239"/>
        <source>The review copy could not be written: %1</source>
        <translation>无法写入审阅副本:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="240"/>
        <source>The document could not be written: %1</source>
        <translation>无法写入文档:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="241"/>
        <source>Error code: %1</source>
        <translation>错误代码:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="242"/>
        <source>The companion program sent no text within %1 seconds; it was closed.</source>
        <translation>伴随程序在 %1 秒内没有发送文本,已将其关闭。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="244"/>
        <source>The addresses could not be handed to the companion program (%1).</source>
        <translation>无法把网址交给伴随程序(%1)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="245"/>
        <source>The companion program vexo1 cannot be run there: %1.</source>
        <translation>伴随程序 vexo1 无法在那里运行:%1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="246"/>
        <source>%1 Scrivano runs the vexo1 that lies beside its own program file (%2), or in libexec/scrivano below the folder it is installed in. Install Scrivano again (cmake --install or its package), or build it with Qt WebEngine (qt6-webengine-dev, see scripts/install-deps), which builds vexo1 beside scrivano.</source>
        <translation>%1 Scrivano 运行位于其程序文件旁边的 vexo1(%2),或其安装目录下 libexec/scrivano 中的 vexo1。请重新安装 Scrivano(cmake --install 或其软件包),或使用 Qt WebEngine(qt6-webengine-dev,见 scripts/install-deps)构建,这样会在 scrivano 旁边构建出 vexo1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="251"/>
        <source>Please first open the automatic translation page in the companion program vexo1, for example:</source>
        <translation>请先在伴随程序 vexo1 中打开自动翻译网页,例如:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="254"/>
        <source>Scrivano&apos;s NextPiece macro could not be installed: %1</source>
        <translation>无法安装 Scrivano 的 NextPiece 宏:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="255"/>
        <source>Scrivano&apos;s NextPiece macro is installed in %1.</source>
        <translation>Scrivano 的 NextPiece 宏已安装在 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="256"/>
        <source>In this interface language (%1) the Find and Replace window&apos;s %2 (&quot;%3&quot;) has no access key of a Latin letter or a digit.</source>
        <translation>在此界面语言(%1)下,“查找和替换”窗口的 %2(“%3”)没有拉丁字母或数字的快捷键。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="260"/>
        <source>In this interface language (%1) the Find and Replace window gives two of Find, Replace and Replace All the same access key.</source>
        <translation>在此界面语言(%1)下,“查找和替换”窗口中的“查找”“替换”和“全部替换”有两个使用相同的快捷键。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="264"/>
        <source>No X11 window found %1.</source>
        <translation>未找到 X11 窗口(%1)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="265"/>
        <source>of the class &quot;%1&quot;</source>
        <translation>类名为“%1”</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="266"/>
        <source>&quot;%1&quot; is not available in this version of Scrivano.</source>
        <translation>此版本的 Scrivano 不提供“%1”。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="267"/>
        <source>It needs %1.</source>
        <translation>它需要 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="268"/>
        <source>The parameter file &quot;%1&quot; could not be read as one (no [PARAMETERS] section): every parameter is empty.</source>
        <translation>无法将“%1”读作参数文件(没有 [PARAMETERS] 节):所有参数都为空。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="271"/>
        <source>No program opens files with their default application here: %1 was not found.</source>
        <translation>这里没有用默认应用程序打开文件的程序:找不到 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="273"/>
        <source>%1 could not be started.</source>
        <translation>无法启动 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="274"/>
        <source>%1 found no program to open it (exit status %2).</source>
        <translation>%1 找不到打开它的程序(退出状态 %2)。</translation>
    </message>
</context>
</TS>
