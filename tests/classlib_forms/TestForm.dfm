object TestForm1: TTestForm
  Caption = 'Zażółć gęślą jaźń'
  object Button1: TTestItem
    Caption = '&Dalej >'
    Lines.Strings = (
      'Łódź'
      'Kraków, ul. Świętego Ducha')
    OnClick = ButtonClick
  end
end
