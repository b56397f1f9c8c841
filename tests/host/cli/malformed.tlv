<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="2">
  <flow name="A" main="yes">
    <p unique="1" shade="grey">text</p>
  </flow>
</document>
