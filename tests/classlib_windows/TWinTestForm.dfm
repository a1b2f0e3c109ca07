object fTest: TWinTestForm
  Left = 40
  Top = 40
  BorderStyle = bsNone
  Caption = 'Okno próbne'
  ClientWidth = 200
  ClientHeight = 120
  Color = clWhite
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object pGora: TTestPanel
    Align = alTop
    Height = 40
    Color = clRed
    object Box1: TTestBox
      Left = 150
      Top = 10
      Width = 30
      Height = 20
      Color = clYellow
    end
  end
  object bOK: TTestButton
    Left = 110
    Top = 80
    Caption = '&OK'
    Default = True
    ModalResult = 1
    OnClick = bOKClick
  end
end
