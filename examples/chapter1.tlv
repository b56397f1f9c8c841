<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="4">
  <colour name="Black" reserved="1"/>
  <colour name="Yellow" reserved="3"/>
  <colour name="Magenta" reserved="8"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes" colour-override="yes" colour="Magenta" style="single-underline"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading1" autonumber="1&#9;">はじめに</p>
    <p unique="2" format="Body">このマニュアルでは、注釈の読み込みについて説明します。</p>
    <p unique="3" format="Body">注釈は<c cond="TL8_TRACK_CHANGES_ADDED" author="佐藤" time="1700000000">文書の</c>該当する段落に<c cond="TL8_TRACK_CHANGES_DELETED" author="佐藤" time="1700000100">すべて</c>戻されます。<marker type="Comment" text="TL_PDF_Comment: ノート注釈 :  : 佐藤 : 2023/11/14"/></p>
  </flow>
</document>
