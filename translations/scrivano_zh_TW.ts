<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en">
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
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../src/app/GeneralDialog.cpp" line="44"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../src/app/GeneralDialog.cpp" line="45"/>
        <source>General Selection</source>
        <translation>通用選擇</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="73"/>
        <source>The encoding and line break of the active document&apos;s file</source>
        <translation>目前文件的檔案編碼和換行字元</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="86"/>
        <source>Reopen with &amp;Encoding</source>
        <translation>以指定編碼重新開啟(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="87"/>
        <source>Read the active document&apos;s file again in another encoding</source>
        <translation>以另一種編碼重新讀取目前文件的檔案</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="92"/>
        <source>Read the active document&apos;s file again as %1</source>
        <translation>以 %1 重新讀取目前文件的檔案</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="118"/>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="124"/>
        <source>&amp;File</source>
        <translation>檔案(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="126"/>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>開啟(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="126"/>
        <source>Open an existing document</source>
        <translation>開啟現有文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="128"/>
        <source>&amp;Close	Ctrl+F4</source>
        <translation>關閉(&amp;C)	Ctrl+F4</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="128"/>
        <source>Close the active document</source>
        <translation>關閉目前文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="131"/>
        <source>&amp;Save	Ctrl+S</source>
        <translation>儲存(&amp;S)	Ctrl+S</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="131"/>
        <source>Save the active document</source>
        <translation>儲存目前文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="133"/>
        <source>Save &amp;As...</source>
        <translation>另存新檔(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="133"/>
        <source>Save the active document with a new name</source>
        <translation>以新名稱儲存目前文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="138"/>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>列印(&amp;P)...	Ctrl+P</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="138"/>
        <source>Print the active document</source>
        <translation>列印目前文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="140"/>
        <source>Print Pre&amp;view</source>
        <translation>列印預覽(&amp;V)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="140"/>
        <source>Display full pages</source>
        <translation>顯示整頁</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="143"/>
        <source>Recent &amp;Files</source>
        <translation>最近的檔案(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="146"/>
        <source>E&amp;xit</source>
        <translation>結束(&amp;X)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="146"/>
        <source>Quit the application; prompts to save documents</source>
        <translation>結束程式;提示儲存文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="149"/>
        <source>&amp;Edit</source>
        <translation>編輯(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="156"/>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation>復原(&amp;U)	Ctrl+Z</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="156"/>
        <source>Undo the last action</source>
        <translation>復原上一步操作</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="161"/>
        <source>Cu&amp;t	Ctrl+X</source>
        <translation>剪下(&amp;T)	Ctrl+X</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="161"/>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>剪下所選內容並放到剪貼簿</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="164"/>
        <source>&amp;Copy	Ctrl+C</source>
        <translation>複製(&amp;C)	Ctrl+C</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="164"/>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>複製所選內容並放到剪貼簿</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="169"/>
        <source>&amp;Paste	Ctrl+V</source>
        <translation>貼上(&amp;P)	Ctrl+V</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="169"/>
        <source>Insert Clipboard contents</source>
        <translation>插入剪貼簿內容</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="180"/>
        <source>Copy &amp;All</source>
        <translation>全部複製(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="180"/>
        <source>Copy all text from Current Window to Clipboard</source>
        <translation>將目前視窗的全部文字複製到剪貼簿</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="185"/>
        <source>Paste A&amp;ll</source>
        <translation>全部貼上(&amp;L)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="185"/>
        <source>Paste all text from Clipboard to Current Window</source>
        <translation>用剪貼簿的全部文字取代目前視窗的內容</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="189"/>
        <source>&amp;Empty Content</source>
        <translation>清空內容(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="189"/>
        <source>Empty Content</source>
        <translation>清空內容</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="195"/>
        <source>Set &amp;Parameters</source>
        <translation>設定參數(&amp;P)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="195"/>
        <source>Choose the active setting of each parameter</source>
        <translation>為每個參數選擇目前使用的設定</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="198"/>
        <source>&amp;View</source>
        <translation>檢視(&amp;V)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="200"/>
        <source>&amp;Toolbar</source>
        <translation>工具列(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="201"/>
        <source>Show or hide the toolbar</source>
        <translation>顯示或隱藏工具列</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="203"/>
        <source>&amp;Status Bar</source>
        <translation>狀態列(&amp;S)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="206"/>
        <source>Show or hide the status bar</source>
        <translation>顯示或隱藏狀態列</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="208"/>
        <source>&amp;Function List</source>
        <translation>功能列表(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="208"/>
        <source>Open Function List</source>
        <translation>開啟功能列表</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="216"/>
        <source>&amp;Window</source>
        <translation>視窗(&amp;W)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="217"/>
        <source>&amp;Cascade</source>
        <translation>重疊顯示(&amp;C)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="217"/>
        <source>Arrange windows so they overlap</source>
        <translation>重疊排列視窗</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="219"/>
        <source>&amp;Tile</source>
        <translation>並排顯示(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="219"/>
        <source>Arrange windows as non-overlapping tiles</source>
        <translation>將視窗並排排列,互不重疊</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="221"/>
        <source>&amp;Next Window</source>
        <translation>下一個視窗(&amp;N)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="221"/>
        <source>Switch to the next window</source>
        <translation>切換到下一個視窗</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="246"/>
        <source>&amp;Help</source>
        <translation>說明(&amp;H)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="247"/>
        <source>&amp;Operational Manual</source>
        <translation>操作手冊(&amp;O)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="247"/>
        <source>Open the Operational Manual</source>
        <translation>開啟操作手冊</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="250"/>
        <source>&amp;About Scrivano...</source>
        <translation>關於 Scrivano(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="251"/>
        <source>Display program information, version number and copyright</source>
        <translation>顯示程式資訊、版本編號和版權</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="303"/>
        <source>Open this document</source>
        <translation>開啟此文件</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="336"/>
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="336"/>
        <location filename="../src/app/MainFrame.cpp" line="350"/>
        <source>All Files (*)</source>
        <translation>所有檔案 (*)</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="350"/>
        <source>Save As</source>
        <translation>另存新檔</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="376"/>
        <source>About Scrivano</source>
        <translation>關於 Scrivano</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="382"/>
        <source>Scrivano Version 2.56</source>
        <translation>Scrivano 版本 2.56</translation>
    </message>
    <message>
        <location filename="../src/app/MainFrame.cpp" line="384"/>
        <source>OK</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>CScrivanoApp</name>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="79"/>
        <source>Processing %1 task(s). Please wait...</source>
        <translation>正在處理 %1 項工作,請稍候...</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="194"/>
        <source>The companion program cannot reach Scrivano: no socket</source>
        <translation>伴隨程式無法連接 Scrivano:沒有通訊端</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="205"/>
        <source>Initialization...</source>
        <translation>正在初始化...</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="223"/>
        <source>Ready</source>
        <translation>就緒</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="369"/>
        <source>The Input text could not be written to %1</source>
        <translation>無法將輸入文字寫入 %1</translation>
    </message>
    <message>
        <location filename="../src/app/ScrivanoApp.cpp" line="458"/>
        <source>Operational Manual</source>
        <translation>操作手冊</translation>
    </message>
</context>
<context>
    <name>EncodingMessages</name>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="34"/>
        <source>1 byte sequence (at byte offset %1)</source>
        <translation>1 個位元組序列(位於位元組位移 %1)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="35"/>
        <source>%1 byte sequences (the first at byte offset %2)</source>
        <translation>%1 個位元組序列(第一個位於位元組位移 %2)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="61"/>
        <source>%1 (%2, line %3, column %4)</source>
        <translation>%1(%2,第 %3 行,第 %4 欄)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="63"/>
        <source>The character (%1, line %2, column %3)</source>
        <translation>該字元(%1,第 %2 行,第 %3 欄)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="71"/>
        <source>%1 with BOM</source>
        <translation>%1 含 BOM</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="75"/>
        <source>%1 (read with loss)</source>
        <translation>%1(讀取有損)</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="82"/>
        <source>%1 is not valid %2 text: %3 could not be read and shows as &quot;�&quot;.</source>
        <translation>%1 不是有效的 %2 文字:%3 無法讀取,顯示為「�」。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="83"/>
        <source>%1 is not valid %2 text: %3 could not be read and show as &quot;�&quot;.</source>
        <translation>%1 不是有效的 %2 文字:%3 無法讀取,顯示為「�」。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="87"/>
        <source>Saved without an edit, the file keeps its bytes; after an edit, Scrivano asks before saving it. File &gt; Reopen with Encoding reads it in another encoding.</source>
        <translation>未經編輯儲存時,檔案保留原位元組;編輯後,Scrivano 會在儲存前詢問。「檔案 &gt; 以指定編碼重新開啟」可用另一種編碼讀取它。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="95"/>
        <source>Save it as %1? If not, nothing is saved.</source>
        <translation>儲存為 %1 嗎?否則不儲存任何內容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="96"/>
        <source>Save it as %1 instead? If not, nothing is saved.</source>
        <translation>改為儲存為 %1 嗎?否則不儲存任何內容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="97"/>
        <source>%1 cannot be stored in %2, the encoding of %3.</source>
        <translation>%1 無法用 %2(%3 的編碼)儲存。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="105"/>
        <source>%1 was not read as %2 without loss: %3 shows as &quot;�&quot;, and its bytes cannot be written back.</source>
        <translation>%1 未能以 %2 無損讀取:%3 顯示為「�」,其原位元組無法寫回。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="108"/>
        <source>%1 was not read as %2 without loss: %3 show as &quot;�&quot;, and their bytes cannot be written back.</source>
        <translation>%1 未能以 %2 無損讀取:%3 顯示為「�」,其原位元組無法寫回。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="113"/>
        <source>Save it as %1, with &quot;�&quot; in its place? If not, nothing is saved.</source>
        <translation>儲存為 %1,並在原處寫入「�」嗎?否則不儲存任何內容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="114"/>
        <source>Save it as %1 instead, with &quot;�&quot; in its place? If not, nothing is saved.</source>
        <translation>改為儲存為 %1,並在原處寫入「�」嗎?否則不儲存任何內容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="117"/>
        <source>Save it as %1, with &quot;�&quot; in their place? If not, nothing is saved.</source>
        <translation>儲存為 %1,並在這些位置寫入「�」嗎?否則不儲存任何內容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="118"/>
        <source>Save it as %1 instead, with &quot;�&quot; in their place? If not, nothing is saved.</source>
        <translation>改為儲存為 %1,並在這些位置寫入「�」嗎?否則不儲存任何內容。</translation>
    </message>
    <message>
        <location filename="../src/app/EncodingMessages.cpp" line="125"/>
        <source>%1 has edits that are not saved. Reopen it as %2 and lose them?</source>
        <translation>%1 有未儲存的編輯。要以 %2 重新開啟並放棄這些編輯嗎?</translation>
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
        <translation>無法開啟檔案!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="20"/>
        <source>The file does not exist !</source>
        <translation>檔案不存在!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="21"/>
        <source>Missing bracket !</source>
        <translation>缺少括號!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="22"/>
        <source>Source and target are not in pairs!</source>
        <translation>原文和譯文未成對!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="23"/>
        <source>00. Return to Scrivano</source>
        <translation>00. 返回 Scrivano</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="24"/>
        <source>01. Align source and target</source>
        <translation>01. 對齊原文和譯文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="25"/>
        <source>02. Clean various tags</source>
        <translation>02. 清除各種標記</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="26"/>
        <source>03. Combine windows/files text</source>
        <translation>03. 合併視窗/檔案文字</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="27"/>
        <source>04. Delete lines with specified substring</source>
        <translation>04. 刪除含指定子字串的行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="28"/>
        <source>05. Extract ending lines</source>
        <translation>05. 擷取結尾行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="29"/>
        <source>06. Extract webpage text</source>
        <translation>06. 擷取網頁文字</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="30"/>
        <source>07. Generate Trados format</source>
        <translation>07. 產生 Trados 格式</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="31"/>
        <source>08. Link adjacent lines</source>
        <translation>08. 連接相鄰行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="32"/>
        <source>09. Make lowercase</source>
        <translation>09. 轉為小寫</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="33"/>
        <source>10. Make uppercase</source>
        <translation>10. 轉為大寫</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="34"/>
        <source>11. Open file(s)</source>
        <translation>11. 開啟檔案</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="35"/>
        <source>12. Remove redundant empty lines</source>
        <translation>12. 刪除多餘空行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="36"/>
        <source>13. Replace text in Word documents</source>
        <translation>13. 取代 Word 文件中的文字</translation>
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
        <translation>16. Trados 轉為分段格式</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="40"/>
        <source>17. Word processing</source>
        <translation>17. Word 處理</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="41"/>
        <source>18. Exit Scrivano</source>
        <translation>18. 結束 Scrivano</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="43"/>
        <source>Please select an option:</source>
        <translation>請選擇一個選項:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="44"/>
        <source>Please select or set an option:</source>
        <translation>請選擇或設定一個選項:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="45"/>
        <source>Please set a separator: </source>
        <translation>請設定分隔字元:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="46"/>
        <source>Please set a minimum and maximum word number and repetion:</source>
        <translation>請設定最少詞數、最多詞數和重複次數:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="47"/>
        <source>Specify a suitable time period(msecs) for copying text in a window: </source>
        <translation>請指定在視窗中複製文字的合適時間(毫秒):</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="49"/>
        <source>1. Source + Return + Target -&gt; Source + Tab + Target</source>
        <translation>1. 原文 + 換行 + 譯文 -&gt; 原文 + 定位字元 + 譯文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="50"/>
        <source>2. Source + Tab + Target -&gt; Source + Return + Target</source>
        <translation>2. 原文 + 定位字元 + 譯文 -&gt; 原文 + 換行 + 譯文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="51"/>
        <source>3. Src file + ===== + Trg file  -&gt; Source + Tab + Target</source>
        <translation>3. 原文檔案 + ===== + 譯文檔案  -&gt; 原文 + 定位字元 + 譯文</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="52"/>
        <source>4. TMX format  -&gt; Source + Tab + Target</source>
        <translation>4. TMX 格式  -&gt; 原文 + 定位字元 + 譯文</translation>
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
        <translation>1. 刪除 DejaVu 標記</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="58"/>
        <source>2. Remove &lt;pt&gt; &lt;ph&gt; tags</source>
        <translation>2. 刪除 &lt;pt&gt; &lt;ph&gt; 標記</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="59"/>
        <source>1. Add space between Chinese and English</source>
        <translation>1. 在中文和英文之間加空格</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="60"/>
        <source>2. Combine source and target pages</source>
        <translation>2. 合併原文頁和譯文頁</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="61"/>
        <source>3. Connect broken lines</source>
        <translation>3. 連接斷行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="62"/>
        <source>4. Duplicate source by paragraph (source -&gt; source + Spaces/Return + source)</source>
        <translation>4. 逐段複製原文(原文 -&gt; 原文 + 空格/換行 + 原文)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="64"/>
        <source>5. Delete source in paragraph (source + Soft Return + target -&gt; target)</source>
        <translation>5. 刪除段內原文(原文 + 軟換行 + 譯文 -&gt; 譯文)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="66"/>
        <source>6. Delete source paragraphs (source + Hard Return + target -&gt; target)</source>
        <translation>6. 刪除原文段落(原文 + 硬換行 + 譯文 -&gt; 譯文)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="68"/>
        <source>7. Extract phrases</source>
        <translation>7. 擷取片語</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="69"/>
        <source>8. Filter content</source>
        <translation>8. 篩選內容</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="70"/>
        <source>9. Highlight numbers</source>
        <translation>9. 醒目提示數字</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="71"/>
        <source>10. Remove DejaVu tags</source>
        <translation>10. 刪除 DejaVu 標記</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="72"/>
        <source>11. Source file + target file -&gt; source || target file (paragraph by paragraph)</source>
        <translation>11. 原文檔案 + 譯文檔案 -&gt; 原文 || 譯文檔案(逐段)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="74"/>
        <source>1. Hard Return</source>
        <translation>1. 硬換行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="75"/>
        <source>2. Soft Return</source>
        <translation>2. 軟換行</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="76"/>
        <source>3. Spaces</source>
        <translation>3. 空格</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="77"/>
        <source>Keep source and target in different lines ?</source>
        <translation>原文和譯文分行保留嗎?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="78"/>
        <source>Replace RETURN with SPACE ? (if No, with EMPTY STRING)</source>
        <translation>用空格取代換行嗎?(選「否」則取代為空字串)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="79"/>
        <source>Delete number-only lines ?</source>
        <translation>刪除只含數字的行嗎?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="80"/>
        <source>Connect broken lines with Space? (If No, with nothing.)</source>
        <translation>用空格連接斷行嗎?(選「否」則直接連接。)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="81"/>
        <source>Allow same source and target paragraphs ?</source>
        <translation>允許原文段落與譯文段落相同嗎?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="82"/>
        <source>Keep original input text?</source>
        <translation>保留原來的輸入文字嗎?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="83"/>
        <source>Install the macro there now?</source>
        <translation>現在把巨集安裝到那裡嗎?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="85"/>
        <source>Processing completed !</source>
        <translation>處理完成!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="86"/>
        <source>Processing failed !</source>
        <translation>處理失敗!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="87"/>
        <source>No parameter set !</source>
        <translation>未設定參數!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="88"/>
        <source>Wrong operation number!</source>
        <translation>操作編號錯誤!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="89"/>
        <source>Something wrong!</source>
        <translation>發生錯誤!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="90"/>
        <source>Wrong Trados format</source>
        <translation>Trados 格式錯誤</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="91"/>
        <source>Wrong tag:</source>
        <translation>錯誤的標記:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="92"/>
        <source>{} doesn&apos;t match !</source>
        <translation>{} 不相符!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="93"/>
        <source>Wrong format found!</source>
        <translation>發現格式錯誤!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="94"/>
        <source>Could not find a parameter !</source>
        <translation>找不到參數!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="95"/>
        <source>Wrong parameter format!</source>
        <translation>參數格式錯誤!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="96"/>
        <source>Could not get another section!</source>
        <translation>無法取得下一節!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="97"/>
        <source>Cannot set parameter !</source>
        <translation>無法設定參數!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="98"/>
        <source>Must keep at least one setting for this parameter!</source>
        <translation>此參數必須至少保留一個設定!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="99"/>
        <source>Failed to create Document object</source>
        <translation>無法建立文件物件</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="100"/>
        <source>No OFFICE installed</source>
        <translation>未安裝 OFFICE</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="101"/>
        <source>Failed to open the file</source>
        <translation>無法開啟檔案</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="102"/>
        <source>Failed to select</source>
        <translation>無法選擇</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="103"/>
        <source>Application is empty. Failed to create Documents!</source>
        <translation>應用程式為空。無法建立文件集合!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="104"/>
        <source>Failed to create Documents</source>
        <translation>無法建立文件集合</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="105"/>
        <source>Failed to create Word</source>
        <translation>無法建立 Word 文件</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="106"/>
        <source>Failed to obtain selection</source>
        <translation>無法取得選取範圍</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="107"/>
        <source>The combined document would replace the source or the target file.</source>
        <translation>合併後的文件會覆蓋原文檔案或譯文檔案。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="108"/>
        <source>Failed to open document.</source>
        <translation>無法開啟文件。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="109"/>
        <source>Failed to save document.</source>
        <translation>無法儲存文件。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="110"/>
        <source>The Operational Manual was not found:</source>
        <translation>找不到操作手冊:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="111"/>
        <source>Wrong translation address:</source>
        <translation>翻譯網址錯誤:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="112"/>
        <source>Please Set Parameters again.</source>
        <translation>請重新設定參數。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="113"/>
        <source>Failed to copy, please retry later.</source>
        <translation>複製失敗,請稍後重試。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="114"/>
        <source>Source is empty !</source>
        <translation>原文為空!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="115"/>
        <source>Fail to CreateProcess():</source>
        <translation>無法建立處理程序 (CreateProcess()):</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="116"/>
        <source>Cannot launch vexo1.exe!</source>
        <translation>無法啟動 vexo1.exe!</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="117"/>
        <source>The companion program showed no window:</source>
        <translation>伴隨程式沒有顯示視窗:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="118"/>
        <source>The companion program vexo1 is not there.</source>
        <translation>伴隨程式 vexo1 不在那裡。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="119"/>
        <source>The companion program ended without sending the pages&apos; text.</source>
        <translation>伴隨程式未傳送網頁文字就結束了。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="120"/>
        <source>The companion program&apos;s window closed without sending the pages&apos; text.</source>
        <translation>伴隨程式的視窗未傳送網頁文字就關閉了。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="122"/>
        <source>Parameter 15 names the page; it is opened when automatic translation is switched on.</source>
        <translation>參數 15 指定該網頁;開啟自動翻譯時會開啟它。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="124"/>
        <source>No Find and Replace window of LibreOffice Writer is open. Open it in a document (Ctrl+H), type what to find and what to replace it with, and choose this entry again.</source>
        <translation>沒有開啟 LibreOffice Writer 的「尋找與取代」視窗。請在文件中開啟它(Ctrl+H),輸入要尋找的內容和取代內容,然後再次選擇此項目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="128"/>
        <source>The Find and Replace window closed or changed its title meanwhile.</source>
        <translation>「尋找與取代」視窗在此期間已關閉或更改了標題。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="129"/>
        <source>The Find and Replace window did not come to the front.</source>
        <translation>「尋找與取代」視窗沒有來到前景。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="130"/>
        <source>The Find and Replace window did not take the keys.</source>
        <translation>「尋找與取代」視窗沒有接收按鍵。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="131"/>
        <source>The Find field of the Find and Replace window is empty.</source>
        <translation>「尋找與取代」視窗的「尋找」欄位為空。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="132"/>
        <source>Nothing was replaced, and the Input window keeps its text.</source>
        <translation>未取代任何內容,輸入視窗保留其文字。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="133"/>
        <source>Ctrl+N in the Writer window opened a new window instead of handing Scrivano the next paragraph; Scrivano closed that window again without saving it and stopped.</source>
        <translation>在 Writer 視窗中按 Ctrl+N 開啟了一個新視窗,而沒有把下一段交給 Scrivano;Scrivano 已關閉該視窗(未儲存)並停止。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="136"/>
        <source>Ctrl+N in LibreOffice Writer does not hand Scrivano the next paragraph yet, so Scrivano changed nothing in the document.</source>
        <translation>LibreOffice Writer 中的 Ctrl+N 還不會把下一段交給 Scrivano,因此 Scrivano 沒有更改文件中的任何內容。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="140"/>
        <source>Scrivano&apos;s NextPiece macro is installed in the LibreOffice profile that Writer uses:</source>
        <translation>Scrivano 的 NextPiece 巨集已安裝在 Writer 使用的 LibreOffice 設定檔中:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="142"/>
        <source>Scrivano&apos;s NextPiece macro is missing or out of date in the LibreOffice profile that Writer uses:</source>
        <translation>Writer 使用的 LibreOffice 設定檔中沒有 Scrivano 的 NextPiece 巨集,或巨集已過時:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="145"/>
        <source>but the LibreOffice that shows the document has not loaded it. LibreOffice loads macros only when it starts: quit LibreOffice (Ctrl+Q), open the document again, and double-click the entry again.</source>
        <translation>但顯示該文件的 LibreOffice 尚未載入它。LibreOffice 只在啟動時載入巨集:請結束 LibreOffice(Ctrl+Q),重新開啟文件,然後再次按兩下該項目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="150"/>
        <source>LibreOffice loads macros only when it starts: quit LibreOffice (Ctrl+Q), open the document again, and double-click the entry again.</source>
        <translation>LibreOffice 只在啟動時載入巨集:請結束 LibreOffice(Ctrl+Q),重新開啟文件,然後再次按兩下該項目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="153"/>
        <source>The LibreOffice that shows the document has taken it up: double-click the entry again.</source>
        <translation>顯示該文件的 LibreOffice 已載入它:請再次按兩下該項目。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="156"/>
        <source>Scrivano stopped waiting for these office windows to close and goes on without closing them; close them before you open the documents it writes:</source>
        <translation>Scrivano 不再等待這些辦公室軟體視窗關閉,將在不關閉它們的情況下繼續;開啟它寫出的文件之前,請先關閉這些視窗:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="160"/>
        <source>No program could open it with the desktop&apos;s default application.</source>
        <translation>沒有程式能用桌面的預設應用程式開啟它。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="161"/>
        <source>To choose the program for this kind of file, install xdg-utils and run:</source>
        <translation>要為這類檔案選擇程式,請安裝 xdg-utils 並執行:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="163"/>
        <source>This is a Wayland session: Scrivano sees only the windows of programs that run under XWayland. Start a program that way to make it reachable, for instance LibreOffice Writer with SAL_USE_VCLPLUGIN=gen (or GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, Chromium or Chrome with --ozone-platform=x11, other GTK programs with GDK_BACKEND=x11 and Qt programs with QT_QPA_PLATFORM=xcb.</source>
        <translation>這是 Wayland 工作階段:Scrivano 只能看到在 XWayland 下執行的程式的視窗。請以這種方式啟動程式,使其可被存取,例如 LibreOffice Writer 使用 SAL_USE_VCLPLUGIN=gen(或 GDK_BACKEND=x11),Firefox 使用 MOZ_ENABLE_WAYLAND=0,Chromium 或 Chrome 使用 --ozone-platform=x11,其他 GTK 程式使用 GDK_BACKEND=x11,Qt 程式使用 QT_QPA_PLATFORM=xcb。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="170"/>
        <source>This is a Wayland session. Scrivano reaches other programs&apos; windows through X11, so it sees only the programs that run under XWayland; windows of programs that run natively on Wayland are invisible to it.</source>
        <translation>這是 Wayland 工作階段。Scrivano 透過 X11 存取其他程式的視窗,因此只能看到在 XWayland 下執行的程式;原生執行於 Wayland 的程式視窗對它不可見。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="175"/>
        <source>These functions reach only X11 windows: 0 (the window at the Function List&apos;s corner), 2 and 16 in a Writer window, 3 in window mode, 13 (Find and Replace in Writer), automatic translation (parameter 14), closing pop-up windows and the captions shown on other programs&apos; windows. Where they look for a window and find none they say &quot;No X11 window found&quot;. The text functions, files and web pages (entry 6) work as anywhere else.</source>
        <translation>以下功能只能存取 X11 視窗:0(功能列表角落處的視窗)、在 Writer 視窗中的 2 和 16、視窗模式下的 3、13(Writer 中的尋找與取代)、自動翻譯(參數 14)、關閉彈出視窗,以及顯示在其他程式視窗上的標題。它們找不到視窗時會提示「No X11 window found」(未找到 X11 視窗)。文字功能、檔案和網頁(項目 6)照常工作。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="182"/>
        <source>To make a program reachable, start it under XWayland: LibreOffice Writer with SAL_USE_VCLPLUGIN=gen (or GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, Chromium or Chrome with --ozone-platform=x11, other GTK programs with GDK_BACKEND=x11 and Qt programs with QT_QPA_PLATFORM=xcb.</source>
        <translation>要讓程式可被存取,請在 XWayland 下啟動它:LibreOffice Writer 使用 SAL_USE_VCLPLUGIN=gen(或 GDK_BACKEND=x11),Firefox 使用 MOZ_ENABLE_WAYLAND=0,Chromium 或 Chrome 使用 --ozone-platform=x11,其他 GTK 程式使用 GDK_BACKEND=x11,Qt 程式使用 QT_QPA_PLATFORM=xcb。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="188"/>
        <source>This notice is shown once; the Operational Manual says the same under &quot;Wayland sessions&quot;.</source>
        <translation>此提示只顯示一次;操作手冊的「Wayland 工作階段」一節有相同的說明。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="192"/>
        <source>Timer period (milliseconds)</source>
        <translation>計時器週期(毫秒)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="193"/>
        <source>Launch menu: files and programs, tab-separated; &apos;;&apos; joins several paths in one item</source>
        <translation>啟動選單:檔案和程式,以定位字元分隔;「;」在一項中連接多個路徑</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="195"/>
        <source>Window titles closed automatically when in the foreground, tab-separated</source>
        <translation>在前景時自動關閉的視窗標題,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="197"/>
        <source>Process watch: largest working set in MB (-1 or empty: off)</source>
        <translation>處理程序監視:最大工作集(MB)(-1 或空:關閉)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="198"/>
        <source>Memory monitor: least free memory in MB (-1 or empty: off)</source>
        <translation>記憶體監視:最少可用記憶體(MB)(-1 或空:關閉)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="199"/>
        <source>Split English and Chinese: whole lines dropped, tab-separated</source>
        <translation>拆分英文和中文:丟棄的整行,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="200"/>
        <source>Characters counted as Western besides ASCII</source>
        <translation>除 ASCII 外算作西文的字元</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="201"/>
        <source>Neutral characters for the English test, tab-separated</source>
        <translation>英文判斷中的中性字元,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="202"/>
        <source>Split English and Chinese: run lengths N/M</source>
        <translation>拆分英文和中文:連續長度 N/M</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="203"/>
        <source>Delete lines with specified substring: substrings, tab-separated</source>
        <translation>刪除含指定子字串的行:子字串,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="204"/>
        <source>Combine windows/files text: window-class options, tab-separated</source>
        <translation>合併視窗/檔案文字:視窗類別選項,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="205"/>
        <source>Right-click shortcut in browser windows (0: off)</source>
        <translation>瀏覽器視窗中的右鍵快速鍵(0:關閉)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="206"/>
        <source>Browser title words that make Scrivano press Escape, tab-separated</source>
        <translation>使 Scrivano 按 Escape 的瀏覽器標題詞,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="207"/>
        <source>Automatic translation: window classes, tab-separated (&apos;;&apos; after a class: selection mode)</source>
        <translation>自動翻譯:視窗類別,以定位字元分隔(類別名稱後加「;」:選取範圍模式)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="210"/>
        <source>Automatic translation: longest wait in milliseconds (0: off)</source>
        <translation>自動翻譯:最長等待時間(毫秒)(0:關閉)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="211"/>
        <source>Translation page settings, tab-separated fields</source>
        <translation>翻譯網頁設定,欄位以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="212"/>
        <source>Not used</source>
        <translation>未使用</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="213"/>
        <source>Function List entry 0 also reports the window at the list&apos;s corner (0: no)</source>
        <translation>功能列表項目 0 同時報告列表角落處的視窗(0:否)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="215"/>
        <source>Word processing: marker text 1</source>
        <translation>Word 處理:標記文字 1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="216"/>
        <source>Word processing: marker text 2</source>
        <translation>Word 處理:標記文字 2</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="217"/>
        <source>Word processing: phrases to highlight, tab-separated</source>
        <translation>Word 處理:要醒目提示的片語,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="218"/>
        <source>Phrase extraction: preset answers (minimum words, maximum words, repetitions)</source>
        <translation>片語擷取:預設答案(最少詞數、最多詞數、重複次數)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="220"/>
        <source>Phrase extraction: stop list, tab-separated</source>
        <translation>片語擷取:排除清單,以定位字元分隔</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="222"/>
        <source>at the Function List&apos;s corner</source>
        <translation>於功能列表的角落處</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="223"/>
        <source>a folder of that name is in the way.</source>
        <translation>有一個同名資料夾擋住了它。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="224"/>
        <source>its folder does not exist.</source>
        <translation>它所在的資料夾不存在。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="225"/>
        <source>its folder is read-only (no permission to write there).</source>
        <translation>它所在的資料夾是唯讀的(沒有寫入權限)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="231"/>
        <source>Could not open &quot;%1&quot; file.</source>
        <translation>無法開啟檔案「%1」。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="232"/>
        <source>Cannot open &quot;%1&quot;.</source>
        <translation>無法開啟「%1」。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="233"/>
        <source>Save changes to %1?</source>
        <translation>儲存對 %1 的更改嗎?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="234"/>
        <source>Spent %1/%2 (characters/seconds) to process the file(s).</source>
        <translation>處理檔案用了 %1/%2(字元數/秒數)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="235"/>
        <source>Spent %1 seconds / %2 windows to combine %3 characters</source>
        <translation>用了 %1 秒 / %2 個視窗,合併了 %3 個字元</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="236"/>
        <source>Processing completed !  ( %1 documents )</source>
        <translation>處理完成!(%1 個文件)</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="237"/>
        <source>The Replace field is empty. Delete every &quot;%1&quot; in the open documents?</source>
        <translation>「取代」欄位為空。要刪除開啟的文件中所有的「%1」嗎?</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="239"/>
        <source>The review copy could not be written: %1</source>
        <translation>無法寫入校閱副本:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="240"/>
        <source>The document could not be written: %1</source>
        <translation>無法寫入文件:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="241"/>
        <source>Error code: %1</source>
        <translation>錯誤代碼:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="242"/>
        <source>The companion program sent no text within %1 seconds; it was closed.</source>
        <translation>伴隨程式在 %1 秒內沒有傳送文字,已將其關閉。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="244"/>
        <source>The addresses could not be handed to the companion program (%1).</source>
        <translation>無法把網址交給伴隨程式(%1)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="245"/>
        <source>The companion program vexo1 cannot be run there: %1.</source>
        <translation>伴隨程式 vexo1 無法在那裡執行:%1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="246"/>
        <source>%1 Scrivano runs the vexo1 that lies beside its own program file (%2), or in libexec/scrivano below the folder it is installed in. Install Scrivano again (cmake --install or its package), or build it with Qt WebEngine (qt6-webengine-dev, see scripts/install-deps), which builds vexo1 beside scrivano.</source>
        <translation>%1 Scrivano 執行位於其程式檔案旁邊的 vexo1(%2),或其安裝目錄下 libexec/scrivano 中的 vexo1。請重新安裝 Scrivano(cmake --install 或其套件),或使用 Qt WebEngine(qt6-webengine-dev,見 scripts/install-deps)建置,這樣會在 scrivano 旁邊建置出 vexo1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="251"/>
        <source>Please first open the automatic translation page in the companion program vexo1, for example:</source>
        <translation>請先在伴隨程式 vexo1 中開啟自動翻譯網頁,例如:</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="254"/>
        <source>Scrivano&apos;s NextPiece macro could not be installed: %1</source>
        <translation>無法安裝 Scrivano 的 NextPiece 巨集:%1</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="255"/>
        <source>Scrivano&apos;s NextPiece macro is installed in %1.</source>
        <translation>Scrivano 的 NextPiece 巨集已安裝在 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="256"/>
        <source>In this interface language (%1) the Find and Replace window&apos;s %2 (&quot;%3&quot;) has no access key of a Latin letter or a digit.</source>
        <translation>在此介面語言(%1)下,「尋找與取代」視窗的 %2(「%3」)沒有拉丁字母或數字的快速鍵。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="260"/>
        <source>In this interface language (%1) the Find and Replace window gives two of Find, Replace and Replace All the same access key.</source>
        <translation>在此介面語言(%1)下,「尋找與取代」視窗中的「尋找」「取代」和「全部取代」有兩個使用相同的快速鍵。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="264"/>
        <source>No X11 window found %1.</source>
        <translation>未找到 X11 視窗(%1)。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="265"/>
        <source>of the class &quot;%1&quot;</source>
        <translation>類別為「%1」</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="266"/>
        <source>&quot;%1&quot; is not available in this version of Scrivano.</source>
        <translation>此版本的 Scrivano 不提供「%1」。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="267"/>
        <source>It needs %1.</source>
        <translation>它需要 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="268"/>
        <source>The parameter file &quot;%1&quot; could not be read as one (no [PARAMETERS] section): every parameter is empty.</source>
        <translation>無法將「%1」讀作參數檔案(沒有 [PARAMETERS] 節):所有參數都為空。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="271"/>
        <source>No program opens files with their default application here: %1 was not found.</source>
        <translation>這裡沒有用預設應用程式開啟檔案的程式:找不到 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="273"/>
        <source>%1 could not be started.</source>
        <translation>無法啟動 %1。</translation>
    </message>
    <message>
        <location filename="../src/app/SystemMessages.cpp" line="274"/>
        <source>%1 found no program to open it (exit status %2).</source>
        <translation>%1 找不到開啟它的程式(結束狀態 %2)。</translation>
    </message>
</context>
</TS>
