<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="4">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1">before <frame-anchor ref="a1"/>after</p>
  </flow>
  <flow name="Side" page="1">
    <p unique="2">side flow</p>
  </flow>
  <frame key="a1">
    <flow name="Inset">
      <p unique="3">inset text</p>
    </flow>
  </frame>
</document>
