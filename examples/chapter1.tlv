<?xml version="1.0" encoding="UTF-8"?>
<!-- An example document. The engine's first slice opens a document by its file; its flows
     and paragraphs are read once the document model is in place. -->
<document version="1">
  <flow name="A" main="yes">
    <p unique="1" format="Heading1" autonumber="1\t">はじめに</p>
    <p unique="2" format="Body">このマニュアルでは、注釈の読み込みについて説明します。</p>
  </flow>
</document>
